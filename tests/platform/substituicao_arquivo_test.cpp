// The whole-file replacement: the target holds the whole old file or the whole new one, and no
// temporary file stays behind.
#include "platform/substituicao_arquivo.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "comum/arquivos_teste.h"
#include "comum/espera_teste.h"
#include "core/caminho.h"

namespace tolvane {
namespace {

using teste::PastaTemporaria;

TEST(SubstituirArquivo, TargetHoldsExactlyTheNewBytes) {
  struct Caso {
    const char* Rotulo;
    std::optional<std::string> Antes;  // none: no file yet
    std::string Conteudo;
    bool Executavel;
  };
  const Caso casos[] = {
      {"new file", std::nullopt, "um", false},
      {"longer file replaced by a shorter one", std::string(4096, 'x'), "dois", false},
      {"empty content", "antigo", "", false},
      {"bytes of every value", std::nullopt, std::string("\0\r\n\xFF\xEF\xBB\xBF", 7), false},
      {"executable", "antigo", "#!/bin/sh\n", true},
  };
  for (const auto& c : casos) {
    PastaTemporaria pasta;
    const std::string alvo = pasta / "Ação alvo.txt";
    if (c.Antes) teste::EscreverArquivo(alvo, *c.Antes);
    SubstituirArquivo(alvo, c.Conteudo, c.Executavel);
    EXPECT_EQ(teste::LerArquivo(alvo), c.Conteudo) << c.Rotulo;
    EXPECT_EQ(teste::EntradasDaPasta(pasta.Caminho()), std::vector<std::string>{"Ação alvo.txt"})
        << c.Rotulo;
  }
}

TEST(SubstituirArquivo, FolderInTheWayIsACreateErrorAndLeavesNothing) {
  PastaTemporaria pasta;
  const std::string alvo = pasta / "alvo";
  std::filesystem::create_directory(CaminhoDe(alvo));
  teste::EscreverArquivo(alvo + "/dentro", "x");
  const Erro e = teste::ErroLancado([&] { SubstituirArquivo(alvo, "novo"); });
  EXPECT_EQ(e.Classe(), "EFCreateError");
  EXPECT_TRUE(e.Mensagem().starts_with("Cannot create file \"" + alvo + "\". ")) << e.Mensagem();
  EXPECT_EQ(teste::EntradasDaPasta(pasta.Caminho()), std::vector<std::string>{"alvo"});
  EXPECT_EQ(teste::LerArquivo(alvo + "/dentro"), "x");
}

TEST(SubstituirArquivo, MissingFolderIsACreateError) {
  PastaTemporaria pasta;
  const std::string alvo = pasta / "faltando/alvo";
  const Erro e = teste::ErroLancado([&] { SubstituirArquivo(alvo, "novo"); });
  EXPECT_EQ(e.Classe(), "EFCreateError");
  EXPECT_TRUE(e.Mensagem().starts_with("Cannot create file \"" + alvo + "\". ")) << e.Mensagem();
}

TEST(NomeTemporarioAoLado, HiddenUniqueNameInTheTargetsFolder) {
  struct Caso {
    const char* Alvo;
    std::uint32_t Numero;
    const char* Esperado;
  };
  const Caso casos[] = {
      {"/srv/pasta/arquivo.ini", 0x1a2b3c4d, "/srv/pasta/.arquivo.ini.1a2b3c4d.tmp"},
      {"arquivo", 0, "./.arquivo.00000000.tmp"},
      {"/srv/Ação/ç.txt", 0xffffffff, "/srv/Ação/.ç.txt.ffffffff.tmp"},
  };
  for (const auto& c : casos)
    EXPECT_EQ(CaminhoDe(NomeTemporarioAoLado(c.Alvo, c.Numero)), CaminhoDe(c.Esperado)) << c.Alvo;
}

}  // namespace
}  // namespace tolvane
