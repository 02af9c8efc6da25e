#include "updater/marcador.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "comum/arquivos_teste.h"
#include "comum/espera_teste.h"
#include "core/caminho.h"
#include "core/erro.h"
#include "platform/nomes.h"

namespace tolvane {
namespace {

using teste::EntradasDaPasta;
using teste::EscreverArquivo;
using teste::LerArquivo;

TEST(Marcador, MasterFolderHintTakesTheFirstLineTrimmed) {
  struct Caso {
    const char* Rotulo;
    const char* Conteudo;  // nullptr: no hint file
    const char* Esperado;
  };
  const Caso casos[] = {
      {"no_hint", nullptr, ""},
      {"empty_hint", "", ""},
      {"first_line_trimmed", "  /srv/Mestre  \r\n/outra\n", "/srv/Mestre"},
      {"utf8_with_byte_order_mark", "\xEF\xBB\xBFS:\\Sistema Ação\\Mestre\r\n",
       "S:\\Sistema Ação\\Mestre"},
      {"no_line_end", "/srv/m", "/srv/m"},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.Rotulo);
    teste::PastaTemporaria pasta;
    if (c.Conteudo) EscreverArquivo(pasta / "pastamestre.txt", c.Conteudo);
    EXPECT_EQ(LerDicaPastaMestre(pasta.Caminho()), c.Esperado);
  }
}

TEST(Marcador, HintThatIsAFolderIsReported) {
  teste::PastaTemporaria pasta;
  std::filesystem::create_directory(CaminhoDe(pasta / "pastamestre.txt"));
  EXPECT_THROW(LerDicaPastaMestre(pasta.Caminho()), Erro);
}

// The program's name as the system has it ("tolvaneGestor.exe" on Windows): the marker's name is
// the same on both.
const std::string kExecutavel = "tolvaneGestor" + std::string(kSufixoExecutavel);

TEST(Marcador, ContentIsPlainAsciiOrMarkedUnicode) {
  EXPECT_EQ(ConteudoMarcador("", false), "[configuracao]\npastamestre=\n");
  EXPECT_EQ(ConteudoMarcador("/srv/m", true), "[configuracao]\npastamestre=/srv/m\n");
  EXPECT_EQ(ConteudoMarcador("/ç", false), "\xEF\xBB\xBF[configuracao]\npastamestre=/ç\n");
  const std::string utf16 = ConteudoMarcador("ç\xF0\x9F\x98\x80", true);
  const std::string esperado_fim("=\0\xE7\0\x3D\xD8\x00\xDE\n\0", 10);
  EXPECT_EQ(utf16.substr(0, 4), std::string("\xFF\xFE[\0", 4));
  ASSERT_GE(utf16.size(), esperado_fim.size());
  EXPECT_EQ(utf16.substr(utf16.size() - esperado_fim.size()), esperado_fim);
}

TEST(Marcador, WrittenBesideTheExecutableReplacingAnOlderOne) {
  teste::PastaTemporaria pasta;
  EscreverArquivo(pasta / "Exec-tolvaneGestor.ini", "antigo");
  GravarMarcadorAtualizacao(pasta.Caminho(), kExecutavel, "/srv/Mestre Novo");
  EXPECT_EQ(LerArquivo(pasta / "Exec-tolvaneGestor.ini"),
            "[configuracao]\npastamestre=/srv/Mestre Novo\n");
  EXPECT_EQ(EntradasDaPasta(pasta.Caminho()), std::vector<std::string>{"Exec-tolvaneGestor.ini"});
}

TEST(Marcador, FailureIsReportedAndLeavesNoTemporaryFile) {
  teste::PastaTemporaria pasta;
  std::filesystem::create_directory(CaminhoDe(pasta / "Exec-tolvaneGestor.ini"));
  EscreverArquivo(pasta / "Exec-tolvaneGestor.ini/x", "x");
  const Erro e =
      teste::ErroLancado([&] { GravarMarcadorAtualizacao(pasta.Caminho(), kExecutavel, ""); });
  EXPECT_EQ(e.Classe(), "EOSError");
  EXPECT_TRUE(e.Mensagem().starts_with("Não foi possível gravar o marcador de atualização \"" +
                                       pasta / "Exec-tolvaneGestor.ini" + "\": "))
      << e.Mensagem();
  EXPECT_EQ(EntradasDaPasta(pasta.Caminho()), std::vector<std::string>{"Exec-tolvaneGestor.ini"});
}

// Two updaters in one folder, or a link left at a fixed temporary name, must not make the marker
// write through someone else's file: the marker goes through the whole-file replacement.
TEST(Marcador, WrittenThroughAUniqueTemporaryNeverThroughALink) {
  teste::PastaTemporaria pasta;
  EscreverArquivo(pasta / "vitima", "intacta");
  std::filesystem::create_symlink(CaminhoDe(pasta / "vitima"),
                                  CaminhoDe(pasta / "Exec-tolvaneGestor.ini.novo"));
  GravarMarcadorAtualizacao(pasta.Caminho(), kExecutavel, "/srv/Mestre");
  EXPECT_EQ(LerArquivo(pasta / "vitima"), "intacta");
  EXPECT_EQ(LerArquivo(pasta / "Exec-tolvaneGestor.ini"),
            "[configuracao]\npastamestre=/srv/Mestre\n");
  EXPECT_EQ(EntradasDaPasta(pasta.Caminho()),
            (std::vector<std::string>{"Exec-tolvaneGestor.ini", "Exec-tolvaneGestor.ini.novo",
                                      "vitima"}));
}

}  // namespace
}  // namespace tolvane
