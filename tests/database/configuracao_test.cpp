#include "database/configuracao.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "comum/arquivos_teste.h"
#include "core/caminho.h"
#include "platform/codificacao.h"

namespace tolvane {
namespace {

using teste::EscreverArquivo;
using teste::PastaTemporaria;

constexpr const char* kPasta = "<pasta>";  // replaced by the test's folder
constexpr const char* kSubpasta = "/";     // a file name ending so is made a folder

std::string Substituir(std::string ATexto, const std::string& APasta) {
  for (std::size_t i; (i = ATexto.find(kPasta)) != std::string::npos;)
    ATexto.replace(i, std::char_traits<char>::length(kPasta), APasta);
  return ATexto;
}

// An INI file as the ERP writes it: in the ANSI code page on Windows, which reads it so.
std::string ComoOErpGrava(const std::string& ATexto) {
#ifdef _WIN32
  return ParaAnsi(ATexto);
#else
  return ATexto;
#endif
}

// The connection string the program would open, or nullopt for "no server INI".
std::optional<std::string> StringConexao(const std::string& APasta) {
  ConfiguracaoBanco configuracao;
  if (!LerConfiguracao(APasta, configuracao)) return std::nullopt;
  return MontarStringConexao(configuracao);
}

TEST(Configuracao, FolderSetUpsGiveTheConnectionStringOrNoServerIni) {
  const std::string local = "[IniServidor]\nnomearquivo=<pasta>/servidor.ini\n";
  const std::string servidor = "[Database]\nServidor=erpserver\npath=/dados/\nname=ERP.FDB\n";
  struct Caso {
    const char* Rotulo;
    std::vector<std::pair<std::string, std::string>> Arquivos;
    std::optional<std::string> Esperado;
  };
  const Caso casos[] = {
      {"server, folder and file",
       {{"tolvaneempresa.ini", local}, {"servidor.ini", servidor}},
       "erpserver:/dados/ERP.FDB"},
      {"version-4 executable picks tolvaneempresa4.ini",
       {{"tolvaneempresa4.exe", ""},
        {"tolvaneempresa4.ini", "[IniServidor]\nnomearquivo=<pasta>/s4.ini\n"},
        {"s4.ini", "[Database]\nServidor=v4\npath=/d4/\nname=V4.FDB\n"},
        {"tolvaneempresa.ini", local},
        {"servidor.ini", servidor}},
       "v4:/d4/V4.FDB"},
      {"version-4 executable without its INI: no fall-back",
       {{"tolvaneempresa4.exe", ""}, {"tolvaneempresa.ini", local}, {"servidor.ini", servidor}},
       std::nullopt},
      {"a folder named tolvaneempresa4.exe is no executable",
       {{"tolvaneempresa4.exe", kSubpasta},
        {"tolvaneempresa.ini", local},
        {"servidor.ini", servidor}},
       "erpserver:/dados/ERP.FDB"},
      {"Servidor empty: bare path",
       {{"tolvaneempresa.ini", local}, {"servidor.ini", "[Database]\npath=/d/\nname=E.FDB\n"}},
       "/d/E.FDB"},
      {"Servidor of blanks only counts as blank",
       {{"tolvaneempresa.ini", local},
        {"servidor.ini", "[Database]\nServidor=\"  \t \"\npath=/d/\nname=E.FDB\n"}},
       "/d/E.FDB"},
      {"Servidor enters untrimmed",
       {{"tolvaneempresa.ini", local},
        {"servidor.ini", "[Database]\nServidor=\" srv \"\npath=C:\\D\\\nname=E.FDB\n"}},
       " srv :C:\\D\\E.FDB"},
      {"folder without its separator is joined unchanged",
       {{"tolvaneempresa.ini", local},
        {"servidor.ini", "[Database]\nServidor=127.0.0.1/3051\npath=/dados\nname=E.FDB\n"}},
       "127.0.0.1/3051:/dadosE.FDB"},
      {"server INI without values: empty string",
       {{"tolvaneempresa.ini", local}, {"servidor.ini", "[Database]\n"}},
       ""},
      {"server INI of binary garbage: empty string",
       {{"tolvaneempresa.ini", local}, {"servidor.ini", std::string("\x00\xFF\xFE[=\x01", 6)}},
       ""},
      {"no local INI", {{"servidor.ini", servidor}}, std::nullopt},
      {"local INI of binary garbage",
       {{"tolvaneempresa.ini", std::string("\xFF\xFE\x00\xD8=[", 6)}, {"servidor.ini", servidor}},
       std::nullopt},
      {"nomearquivo empty",
       {{"tolvaneempresa.ini", "[IniServidor]\nnomearquivo=\n"}, {"servidor.ini", servidor}},
       std::nullopt},
      {"nomearquivo missing",
       {{"tolvaneempresa.ini", "[IniServidor]\noutro=<pasta>/servidor.ini\n"},
        {"servidor.ini", servidor}},
       std::nullopt},
      {"nomearquivo names a folder",
       {{"tolvaneempresa.ini", "[IniServidor]\nnomearquivo=<pasta>\n"}},
       std::nullopt},
      {"nomearquivo names a device",
       {{"tolvaneempresa.ini", "[IniServidor]\nnomearquivo=/dev/zero\n"}},
       std::nullopt},
      {"nomearquivo names nothing",
       {{"tolvaneempresa.ini", "[IniServidor]\nnomearquivo=<pasta>/faltando.ini\n"}},
       std::nullopt},
  };
  for (const Caso& c : casos) {
    PastaTemporaria pasta;
    for (const auto& [nome, conteudo] : c.Arquivos) {
      if (conteudo == kSubpasta)
        std::filesystem::create_directory(CaminhoDe(pasta / nome));
      else
        EscreverArquivo(pasta / nome, ComoOErpGrava(Substituir(conteudo, pasta.Caminho())));
    }
    EXPECT_EQ(StringConexao(pasta.Caminho()), c.Esperado) << c.Rotulo;
  }
}

TEST(Configuracao, PathOfAMissingServerIniIsKeptAsRead) {
  PastaTemporaria pasta;
  EscreverArquivo(pasta / "tolvaneempresa.ini", "[IniServidor]\nnomearquivo = ' x.ini '\n");
  ConfiguracaoBanco configuracao;
  EXPECT_FALSE(LerConfiguracao(pasta.Caminho(), configuracao));
  EXPECT_EQ(configuracao.locainiServidor, " x.ini ");
  EXPECT_EQ(configuracao.sServidor + configuracao.sPath + configuracao.sBanco, "");
}

}  // namespace
}  // namespace tolvane
