// The updater's two services around the executable: the wait for the program to let go of it and
// the replacement by the server copy. What every system does alike; Linux's file modes, links and
// full disks are in tests/updater, Windows's locked running executable in win32/.
#include "platform/substituicao_executavel.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>

#include "comum/arquivos_teste.h"
#include "core/caminho.h"
#include "core/erro.h"
#include "platform/espera_programa.h"
#include "platform/nomes.h"

namespace tolvane {
namespace {

using teste::EntradasDaPasta;
using teste::EscreverArquivo;
using teste::LerArquivo;
namespace fs = std::filesystem;

// Every file a folder holds, with its content, to see that a failed replacement changed nothing.
std::map<std::string, std::string> Retrato(const teste::PastaTemporaria& ABase,
                                           const std::string& APasta) {
  std::map<std::string, std::string> r;
  std::error_code ec;
  if (!fs::is_directory(CaminhoDe(ABase / APasta), ec)) return r;
  for (const auto& nome : EntradasDaPasta(ABase / APasta)) {
    const std::string caminho = ABase / (APasta + "/" + nome);
    r[nome] = fs::is_regular_file(CaminhoDe(caminho), ec) ? LerArquivo(caminho) : "(pasta)";
  }
  return r;
}

class SubstituicaoExecutavel : public ::testing::Test {
 protected:
  void SetUp() override {
    EscreverArquivo(FOrigem, FNovo);
    EscreverArquivo(FDestino, "velho");
  }

  teste::PastaTemporaria FBase;
  const std::string FServidor = FBase / "Update";
  const std::string FExecutavel = FBase / "Sistema";
  const std::string FOrigem = JuntarCaminho(FServidor, "prog.exe");
  const std::string FDestino = JuntarCaminho(FExecutavel, "prog.exe");
  std::string FNovo = std::string(300 * 1024, 'n') + "fim";
};

TEST_F(SubstituicaoExecutavel, CopyHasTheContentAndTimeOfTheServerCopyAndNothingElseIsLeft) {
  teste::DefinirTempo(FOrigem, 1620284889, 123456700);  // a whole number of 100 ns
  for (const bool haAntigo : {true, false}) {
    SCOPED_TRACE(haAntigo ? "replaces the old copy" : "first copy");
    if (!haAntigo) fs::remove(CaminhoDe(FDestino));
    ASSERT_NO_THROW(SubstituirExecutavel(FOrigem, FExecutavel, "prog.exe"));
    EXPECT_EQ(LerArquivo(FDestino), FNovo);
    EXPECT_EQ(fs::last_write_time(CaminhoDe(FDestino)), fs::last_write_time(CaminhoDe(FOrigem)));
    EXPECT_EQ(EntradasDaPasta(FExecutavel), std::vector<std::string>{"prog.exe"});
  }
}

TEST_F(SubstituicaoExecutavel, FaultsNameTheFileAndLeaveTheOldExecutableWhole) {
  struct Falha {
    const char* Rotulo;
    std::function<void()> Preparar;
    std::string Mensagem;
  };
  const Falha falhas[] = {
      {"missing source", [&] { fs::remove(CaminhoDe(FOrigem)); },
       "A cópia do servidor \"" + FOrigem + "\" não existe."},
      {"source is a folder",
       [&] {
         fs::remove(CaminhoDe(FOrigem));
         fs::create_directory(CaminhoDe(FOrigem));
       },
       "A cópia do servidor \"" + FOrigem + "\" é uma pasta, não um arquivo."},
      {"executable folder missing", [&] { fs::remove_all(CaminhoDe(FExecutavel)); },
       "A pasta do executável \"" + FExecutavel + "\" não existe."},
      {"a folder where the executable is",
       [&] {
         fs::remove(CaminhoDe(FDestino));
         EscreverArquivo(FDestino + "/dentro", "x");
       },
       "O executável \"" + FDestino + "\" está ocupado: no lugar dele há uma pasta."},
  };
  for (const auto& f : falhas) {
    SCOPED_TRACE(f.Rotulo);
    fs::remove_all(CaminhoDe(FServidor));
    fs::remove_all(CaminhoDe(FExecutavel));
    SetUp();
    f.Preparar();
    const auto antes = Retrato(FBase, "Sistema");
    try {
      SubstituirExecutavel(FOrigem, FExecutavel, "prog.exe");
      ADD_FAILURE() << "the replacement went through";
    } catch (const Erro& e) {
      EXPECT_EQ(e.Classe(), "EOSError");
      EXPECT_EQ(e.Mensagem(), f.Mensagem);
    }
    EXPECT_EQ(Retrato(FBase, "Sistema"), antes) << "the executable folder changed";
  }
}

// An executable that nobody runs, or that is not there, is not waited for.
TEST_F(SubstituicaoExecutavel, NothingToWaitForWhenTheExecutableIsNotRunning) {
  EXPECT_TRUE(EsperarFimPrograma(FDestino, std::chrono::minutes(1)));
  EXPECT_TRUE(
      EsperarFimPrograma(JuntarCaminho(FExecutavel, "faltando.exe"), std::chrono::minutes(1)));
}

}  // namespace
}  // namespace tolvane
