// A running executable is locked on Windows: the updater's wait lasts until the program lets go
// of it, and a replacement tried meanwhile is refused with the old copy whole.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "comum/arquivos_teste.h"
#include "comum/espera_teste.h"
#include "core/caminho.h"
#include "core/erro.h"
#include "core/utf8.h"
#include "platform/espera_programa.h"
#include "platform/nomes.h"
#include "platform/substituicao_executavel.h"

namespace tolvane {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// A copy of the helper running for AMilissegundos, ended at the latest when the object goes.
class ProgramaEmExecucao {
 public:
  ProgramaEmExecucao(const std::string& AExecutavel, int AMilissegundos) {
    const std::u16string programa = Utf16DeUtf8(AExecutavel);
    std::u16string linha = u"\"" + programa + u"\" " + Utf16DeUtf8(std::to_string(AMilissegundos));
    STARTUPINFOW si{};
    si.cb = sizeof si;
    if (!CreateProcessW(reinterpret_cast<const wchar_t*>(programa.c_str()),
                        reinterpret_cast<wchar_t*>(linha.data()), nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &si, &FInfo))
      throw std::runtime_error("CreateProcessW failed: " + std::to_string(GetLastError()));
    CloseHandle(FInfo.hThread);
  }
  ~ProgramaEmExecucao() {
    TerminateProcess(FInfo.hProcess, 1);
    WaitForSingleObject(FInfo.hProcess, 60000);
    CloseHandle(FInfo.hProcess);
  }
  ProgramaEmExecucao(const ProgramaEmExecucao&) = delete;
  ProgramaEmExecucao& operator=(const ProgramaEmExecucao&) = delete;

 private:
  PROCESS_INFORMATION FInfo{};
};

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
  const ProgramaEmExecucao programa(FDestino, 120000);
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
  const ProgramaEmExecucao programa(FDestino, 1500);
  EXPECT_TRUE(EsperarFimPrograma(FDestino, 60s));
  ASSERT_NO_THROW(SubstituirExecutavel(FOrigem, FExecutavel, "prog.exe"));
  EXPECT_EQ(teste::LerArquivo(FDestino), "versão nova");
}

}  // namespace
}  // namespace tolvane
