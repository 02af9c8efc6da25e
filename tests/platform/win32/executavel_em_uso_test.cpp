// A running executable is locked on Windows: the updater's wait lasts until the program lets go
// of it, and a replacement tried meanwhile is refused with the old copy whole.
#include <gtest/gtest.h>

#include <filesystem>

#include "comum/arquivos_teste.h"
#include "comum/espera_teste.h"
#include "comum/processo_teste.h"
#include "core/caminho.h"
#include "core/erro.h"
#include "platform/espera_programa.h"
#include "platform/nomes.h"
#include "platform/substituicao_executavel.h"

namespace tolvane {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

class ExecutavelEmUso : public ::testing::Test {
 protected:
  void SetUp() override {
    teste::EscreverArquivo(FOrigem, "versão nova");
    fs::create_directories(CaminhoDe(FExecutavel));
    fs::copy_file(CaminhoDe(TOLVANE_PROGRAMA_OCUPADO), CaminhoDe(FDestino));
    FAntigo = teste::LerArquivo(FDestino);
  }

  teste::PastaTemporaria FBase;
  const std::string FServidor = FBase / "Update";
  const std::string FExecutavel = FBase / "Sistema";
  const std::string FOrigem = JuntarCaminho(FServidor, "prog.exe");
  const std::string FDestino = JuntarCaminho(FExecutavel, "prog.exe");
  std::string FAntigo;
};

TEST_F(ExecutavelEmUso, WhileItRunsTheWaitEndsAtTheLimitAndTheReplacementIsRefused) {
  const teste::ProgramaEmExecucao programa(FDestino, {"120000"});
  EXPECT_FALSE(EsperarFimPrograma(FDestino, 300ms));
  const Erro e =
      teste::ErroLancado([&] { SubstituirExecutavel(FOrigem, FExecutavel, "prog.exe"); });
  EXPECT_EQ(e.Classe(), "EOSError");
  const std::string inicio = "Não foi possível substituir o executável \"" + FDestino + "\": ";
  EXPECT_EQ(e.Mensagem().substr(0, inicio.size()), inicio) << e.Mensagem();
  EXPECT_GT(e.Mensagem().size(), inicio.size() + 1) << "the cause is missing";
  EXPECT_EQ(teste::LerArquivo(FDestino), FAntigo);
  EXPECT_EQ(teste::EntradasDaPasta(FExecutavel), std::vector<std::string>{"prog.exe"});
}

TEST_F(ExecutavelEmUso, TheWaitSeesTheProgramEndAndTheReplacementThenGoesThrough) {
  const teste::ProgramaEmExecucao programa(FDestino, {"1500"});
  EXPECT_TRUE(EsperarFimPrograma(FDestino, 60s));
  ASSERT_NO_THROW(SubstituirExecutavel(FOrigem, FExecutavel, "prog.exe"));
  EXPECT_EQ(teste::LerArquivo(FDestino), "versão nova");
}

}  // namespace
}  // namespace tolvane
