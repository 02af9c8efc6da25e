// Files and file dates: the contract of platform/arquivos.h.
#include "platform/arquivos.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "comum/arquivos_teste.h"
#include "core/caminho.h"

namespace tolvane {
namespace {

using teste::PastaTemporaria;

TEST(CaminhoExecutavel, AbsolutePathOfThisProgram) {
  const std::string caminho = CaminhoExecutavel();
  EXPECT_TRUE(CaminhoDe(caminho).is_absolute()) << caminho;
  EXPECT_TRUE(std::filesystem::is_regular_file(CaminhoDe(caminho))) << caminho;
}

// The last-write time as the two-second DOS date sees it, in local time.
TEST(DataModificacaoArquivo, TwoSecondLocalTimeWithinTheDosRange) {
  struct Caso {
    const char* Rotulo;
    DataHora Gravada;
    std::optional<DataHora> Lida;
  };
  const Caso casos[] = {
      {"even seconds", {2024, 3, 25, 14, 37, 12}, DataHora{2024, 3, 25, 14, 37, 12}},
      {"odd seconds drop to the even below",
       {2024, 3, 25, 14, 37, 13},
       DataHora{2024, 3, 25, 14, 37, 12}},
      {"first DOS time", {1980, 1, 1, 0, 0, 0}, DataHora{1980, 1, 1, 0, 0, 0}},
      {"last DOS time", {2107, 12, 31, 23, 59, 59}, DataHora{2107, 12, 31, 23, 59, 58}},
      {"before 1980", {1979, 12, 31, 23, 59, 58}, std::nullopt},
  };
  PastaTemporaria pasta;
  const std::string arquivo = pasta / "programa";
  teste::EscreverArquivo(arquivo, "x");
  for (const auto& c : casos) {
    teste::DefinirDataLocal(arquivo, c.Gravada);
    EXPECT_EQ(DataModificacaoArquivo(arquivo), c.Lida) << c.Rotulo;
  }
}

// A case of its own: Wine's FileTimeToDosDateTime converts it, where Windows refuses.
TEST(DataModificacaoArquivo, NoDateAfterTheDosRange) {
  PastaTemporaria pasta;
  const std::string arquivo = pasta / "programa";
  teste::EscreverArquivo(arquivo, "x");
  teste::DefinirDataLocal(arquivo, {2108, 1, 1, 0, 0, 0});
  EXPECT_EQ(DataModificacaoArquivo(arquivo), std::nullopt);
}

TEST(DataModificacaoArquivo, FoldersAndMissingFilesHaveNoDate) {
  PastaTemporaria pasta;
  EXPECT_EQ(DataModificacaoArquivo(pasta.Caminho()), std::nullopt);
  EXPECT_EQ(DataModificacaoArquivo(pasta / "faltando"), std::nullopt);
  EXPECT_EQ(DataModificacaoArquivo(""), std::nullopt);
}

// The move that never replaces: it takes a free name in one step and refuses a taken one,
// leaving both files as they were; names with accents go through the system's own encoding.
TEST(MoverSemSubstituir, TakesAFreeNameAndNeverATakenOne) {
  struct Caso {
    const char* Rotulo;
    bool OrigemExiste;
    const char* DestinoAntes;  // nullptr: no file of that name
    bool Movido;
  };
  const Caso casos[] = {
      {"free name", true, nullptr, true},
      {"taken name", true, "já estava", false},
      {"empty file at the name", true, "", false},
      {"no source", false, nullptr, false},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.Rotulo);
    PastaTemporaria pasta;
    const std::string origem = pasta / ".Atualização.novo";
    const std::string destino = pasta / "Atualização.exe";
    if (c.OrigemExiste) teste::EscreverArquivo(origem, "nova versão");
    if (c.DestinoAntes) teste::EscreverArquivo(destino, c.DestinoAntes);
    EXPECT_EQ(MoverSemSubstituir(origem, destino), c.Movido);
    if (c.Movido) {
      EXPECT_EQ(teste::LerArquivo(destino), "nova versão");
      EXPECT_EQ(teste::EntradasDaPasta(pasta.Caminho()),
                std::vector<std::string>{"Atualização.exe"});
    } else {
      if (c.DestinoAntes) {
        EXPECT_EQ(teste::LerArquivo(destino), c.DestinoAntes);
      }
      if (c.OrigemExiste) {
        EXPECT_EQ(teste::LerArquivo(origem), "nova versão");
      }
      EXPECT_EQ(std::filesystem::exists(CaminhoDe(destino)), c.DestinoAntes != nullptr);
    }
  }
}

}  // namespace
}  // namespace tolvane
