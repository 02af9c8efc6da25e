// The INI reader's contract: the cases every system's implementation passes.
#include "platform/perfil.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "comum/arquivos_teste.h"
#include "comum/texto_teste.h"
#include "core/texto.h"
#include "core/utf8.h"

namespace tolvane {
namespace {

using namespace std::literals;
using teste::EscreverArquivo;
using teste::PastaTemporaria;
using teste::Repetir;

std::string Utf16(std::u16string_view ATexto, bool ABigEndian) {
  std::string r = ABigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char16_t c : ATexto) {
    const char alto = static_cast<char>(c >> 8);
    const char baixo = static_cast<char>(c & 0xFF);
    r += ABigEndian ? alto : baixo;
    r += ABigEndian ? baixo : alto;
  }
  return r;
}

TEST(LerPerfil, LookupsFollowThePrivateProfileRules) {
  constexpr const char* kIni =
      "chave_orfa=before any section\n"
      "[IniServidor]\n"
      "nomearquivo = /srv/erp/servidor.ini  \n"
      "  [ Database ]  \n"
      "Servidor=  srv01  \n"
      "PATH=\"C:\\Dados\\\"\n"
      "name='BANCO.FDB'\n"
      "vazio=\n"
      "semigual\n"
      "desiguais=\"abc'\n"
      "aspa_so=\"\n"
      "aspas_vazias=\"\"\n"
      "dentro=a \"b\" c\n"
      "chave = valor = com igual\n"
      "[Database sem fecho\n"
      "name=SEGUNDO.FDB\n"
      "[database]\n"
      "extra=in the second section of the name\n"
      "[Outra]\n"
      "name=OUTRA.FDB\n";
  struct Caso {
    const char* Secao;
    const char* Chave;
    const char* Esperado;
  };
  constexpr Caso casos[] = {
      {"IniServidor", "nomearquivo", "/srv/erp/servidor.ini"},
      {"INISERVIDOR", "NomeArquivo", "/srv/erp/servidor.ini"},
      {"Database", "Servidor", "srv01"},
      {"database", "path", "C:\\Dados\\"},
      {"Database", "name", "BANCO.FDB"},  // first of two, quotes removed
      {"Database", "vazio", ""},
      {"Database", "semigual", ""},
      {"Database", "desiguais", "\"abc'"},
      {"Database", "aspa_so", "\""},
      {"Database", "aspas_vazias", ""},
      {"Database", "dentro", "a \"b\" c"},
      {"Database", "chave", "valor = com igual"},
      {"Database", "extra", ""},  // only the first section of a name is read
      {"Outra", "name", "OUTRA.FDB"},
      {"Database", "faltando", ""},
      {"Faltando", "name", ""},
  };
  PastaTemporaria pasta;
  EscreverArquivo(pasta / "a.ini", kIni);
  for (const Caso& c : casos)
    EXPECT_EQ(LerPerfil(pasta / "a.ini", c.Secao, c.Chave), c.Esperado)
        << "[" << c.Secao << "] " << c.Chave;
}

// A key before the first section belongs to no section: no name, not even an empty one, finds
// it. A case of its own: Wine reads it under the empty name.
TEST(LerPerfil, AKeyBeforeAnySectionIsNeverRead) {
  PastaTemporaria pasta;
  EscreverArquivo(pasta / "o.ini", "chave_orfa=before any section\n[S]\nk=v\n");
  EXPECT_EQ(LerPerfil(pasta / "o.ini", "", "chave_orfa"), "");
  EXPECT_EQ(LerPerfil(pasta / "o.ini", "S", "chave_orfa"), "");
  EXPECT_EQ(LerPerfil(pasta / "o.ini", "S", "k"), "v");
}

// Several keys of one section in one call: each value as a call of its own reads it, in the
// keys' order; a missing file gives an empty value for each.
TEST(LerPerfil, SeveralKeysAtOnceReadAsEachAlone) {
  PastaTemporaria pasta;
  EscreverArquivo(pasta / "s.ini",
                  "[Outra]\r\nname=OUTRA.FDB\r\n[Database]\r\nname = \"BANCO.FDB\"\r\n"
                  "Servidor=srv01\r\nPATH=/dados/\r\n");
  const std::vector<std::string> chaves = {"Servidor", "path", "name", "faltando", "NAME"};
  std::vector<std::string> sozinhas;
  for (const auto& chave : chaves)
    sozinhas.push_back(LerPerfil(pasta / "s.ini", "Database", chave));
  EXPECT_EQ(sozinhas, (std::vector<std::string>{"srv01", "/dados/", "BANCO.FDB", "", "BANCO.FDB"}));
  EXPECT_EQ(LerValoresPerfil(pasta / "s.ini", "database", chaves), sozinhas);
  EXPECT_EQ(LerValoresPerfil(pasta / "falta.ini", "Database", {"name", "path"}),
            (std::vector<std::string>{"", ""}));
}

struct CasoCodificacao {
  const char* Rotulo;
  std::string Conteudo;
  const char* Secao;
  const char* Chave;
  std::string Esperado;
};

void VerificarCodificacoes(const std::vector<CasoCodificacao>& ACasos) {
  PastaTemporaria pasta;
  for (const CasoCodificacao& c : ACasos) {
    EscreverArquivo(pasta / "c.ini", c.Conteudo);
    const std::string lido = LerPerfil(pasta / "c.ini", c.Secao, c.Chave);
    EXPECT_EQ(lido, c.Esperado) << c.Rotulo;
    EXPECT_TRUE(EhUtf8Valido(lido)) << c.Rotulo;
  }
}

TEST(LerPerfil, EncodingsLineEndsAndSizes) {
  const std::string ccedilha2047 = Repetir("ç", 2047);
  const std::string substituto = "\xEF\xBF\xBD";
  VerificarCodificacoes({
      {"LF", "[Database]\nname = B.FDB \npath=/dados/\n", "Database", "path", "/dados/"},
      {"CRLF", "[Database]\r\nname = B.FDB \r\npath=C:\\\r\n", "Database", "name", "B.FDB"},
      {"CRLF last line", "[Database]\r\npath=C:\\\r\n", "Database", "path", "C:\\"},
      {"UTF-16 LE BOM", Utf16(u"[Database]\r\nname=Ação.fdb\r\n", false), "Database", "name",
       "Ação.fdb"},
      {"UTF-16 BE BOM", Utf16(u"[Database]\r\nname=\"\U0001F600x\"\r\n", true), "Database", "name",
       "\U0001F600x"},
      {"UTF-16 lone surrogate",
       Utf16(u"[Database]\nname=a\xD800"
             u"b",
             false),
       "Database", "name", "a" + substituto + "b"},
      // Characters, not bytes: in UTF-16, which every system reads as such.
      {"long value cut to 2047 characters",
       Utf16(u"[Database]\r\nname=" + std::u16string(3000, u'ç') + u"\r\n", false), "Database",
       "name", ccedilha2047},
      {"NUL bytes and controls", std::string("\0\x01\n[D]\n\x7F=\0\nk=v\n"sv), "D", "k", "v"},
      {"binary garbage before a section",
       [] {
         std::string lixo;
         unsigned x = 12345;
         for (int i = 0; i < 100000; ++i) {
           x = x * 1103515245u + 12345u;
           lixo += static_cast<char>(x >> 16);
         }
         return lixo + "\n[Database]\nname=X.FDB\n";
       }(),
       "Database", "name", "X.FDB"},
  });
}

// Cases of their own: Wine reads each of them otherwise (it skips a UTF-8 mark's first line,
// keeps the odd byte, cuts before removing the quotes and reads a file of any size).
TEST(LerPerfil, Utf8MarkOddLengthUtf16AndTheLimits) {
  VerificarCodificacoes({
      {"UTF-8 BOM", "\xEF\xBB\xBF[SEÇÃO]\nname=Ação.fdb\n", "seção", "name", "Ação.fdb"},
      {"UTF-16 odd byte", Utf16(u"[Database]\nname=x", false) + "\x41", "Database", "name", "x"},
      {"quotes removed before the cut", "[D]\nk=\"" + Repetir("x", 2047) + "\"\n", "D", "k",
       Repetir("x", 2047)},
      {"too large to be an INI file",
       "[Database]\nname=X.FDB\n" + std::string(17u << 20, ';') + "\n", "Database", "name", ""},
  });
}

TEST(LerPerfil, PathsThatAreNoFileReadEmpty) {
  PastaTemporaria pasta;
  EscreverArquivo(pasta / "vazio.ini", "");
  const std::string caminhos[] = {pasta.Caminho(), pasta / "faltando.ini", "", pasta / "vazio.ini"};
  for (const std::string& c : caminhos) EXPECT_EQ(LerPerfil(c, "Database", "name"), "") << c;
}

}  // namespace
}  // namespace tolvane
