// The updater program on Windows, started as the program starts it: its tags as one command line
// with nothing quoted, folders with their blanks as "§", the name as it is. The program it
// replaces and starts again is a helper that records how it was started.
#include <gtest/gtest.h>

#include <filesystem>

#include "comum/arquivos_teste.h"
#include "comum/espera_teste.h"
#include "comum/processo_teste.h"
#include "comum/variavel_ambiente.h"
#include "core/caminho.h"
#include "core/texto.h"
#include "core/utf8.h"
#include "platform/nomes.h"

namespace tolvane {
namespace {

using teste::EntradasDaPasta;
using teste::EscreverArquivo;
using teste::LerArquivo;
namespace fs = std::filesystem;

constexpr const char* kNome = "tolvane Gestor.exe";

// A marker as Windows's profile reader takes non-ASCII text: UTF-16LE after its byte-order mark.
std::string EmUtf16le(const std::string& ATexto) {
  std::string r = "\xFF\xFE";
  for (const char16_t u : Utf16DeUtf8(ATexto)) {
    r += static_cast<char>(u & 0xFF);
    r += static_cast<char>(u >> 8);
  }
  return r;
}

class AtualizadorWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(CaminhoDe(FServidor));
    fs::create_directories(CaminhoDe(FExecutavel));
    fs::copy_file(CaminhoDe(CAMINHO_PROGRAMA_SUBSTITUIDO), CaminhoDe(FNovo));
    teste::DefinirTempo(FNovo, 1700000000, 987654300);
    EscreverArquivo(FAtual, "velho");
  }

  // The line the program builds: every token free of blanks but the name's pieces.
  std::vector<std::string> Linha(const std::string& AModo = "@F1") const {
    return {AModo, "@M" + CodificarBrancos(FServidor), "@E" + CodificarBrancos(FExecutavel),
            "@Atolvane", "Gestor.exe"};
  }

  teste::Execucao Executar(const std::vector<std::string>& AArgumentos) {
    const teste::VariavelAmbiente registro("TOLVANE_REGISTRO", FRegistro);
    teste::Execucao r = teste::ExecutarLendo(CAMINHO_ATUALIZADOR, AArgumentos, FBase.Caminho());
    EXPECT_EQ(r.Saida, "") << "the updater writes nothing on stdout";
    return r;
  }

  // What the restarted helper recorded. It is started detached, so the record comes when it
  // comes.
  std::string Registro() {
    return teste::LerQuandoPronto(FRegistro).value_or("(the program was not started)");
  }

  teste::PastaTemporaria FBase;
  const std::string FServidor = FBase / "Servidor Novo";
  const std::string FExecutavel = FBase / "Estação Novo";
  const std::string FNovo = JuntarCaminho(FServidor, kNome);
  const std::string FAtual = JuntarCaminho(FExecutavel, kNome);
  const std::string FRegistro = FBase / "registro";
};

TEST_F(AtualizadorWindows, ProgramsLineReplacesMarksAndRestarts) {
  EscreverArquivo(JuntarCaminho(FServidor, "pastamestre.txt"), "\\\\servidor\\Pasta Mestre\r\n");
  const auto r = Executar(Linha());
  EXPECT_EQ(r.Codigo, 0) << r.Erros;
  EXPECT_EQ(r.Erros, "");
  EXPECT_EQ(Registro(), FExecutavel + "\n[]\n0\n");
  EXPECT_EQ(LerArquivo(FAtual), LerArquivo(FNovo));
  EXPECT_EQ(fs::last_write_time(CaminhoDe(FAtual)), fs::last_write_time(CaminhoDe(FNovo)));
  EXPECT_EQ(LerArquivo(JuntarCaminho(FExecutavel, "Exec-tolvane Gestor.ini")),
            "[configuracao]\npastamestre=\\\\servidor\\Pasta Mestre\n");
  EXPECT_EQ(EntradasDaPasta(FExecutavel),
            (std::vector<std::string>{"Exec-tolvane Gestor.ini", kNome}));
}

// The program hands over and ends; its executable stays locked until it has.
TEST_F(AtualizadorWindows, WaitsForTheRunningProgramThenReplacesIt) {
  fs::remove(CaminhoDe(FAtual));
  fs::copy_file(CaminhoDe(CAMINHO_PROGRAMA_SUBSTITUIDO), CaminhoDe(FAtual));
  teste::DefinirTempo(FAtual, 1600000000);
  const teste::ProgramaEmExecucao antigo(FAtual, {"2000"});
  const auto r = Executar(Linha());
  EXPECT_EQ(r.Codigo, 0) << r.Erros;
  EXPECT_EQ(r.Erros, "");
  EXPECT_EQ(Registro(), FExecutavel + "\n[]\n0\n");
  EXPECT_EQ(fs::last_write_time(CaminhoDe(FAtual)), fs::last_write_time(CaminhoDe(FNovo)));
}

TEST_F(AtualizadorWindows, FailuresExitNonZeroWithAMessageAndTouchNothing) {
  struct Caso {
    const char* Rotulo;
    std::vector<std::string> Argumentos;
    int Codigo;
    const char* Mensagem;
  };
  const std::string m = "@M" + CodificarBrancos(FServidor);
  const std::string e = "@E" + CodificarBrancos(FExecutavel);
  const Caso casos[] = {
      {"unknown mode", Linha("@F2"), 2, "Modo desconhecido \"@F2\""},
      {"missing tag", {"@F1", m, "@Aprog.exe"}, 2, "Falta a etiqueta @E"},
      {"name leaves the folder", {"@F1", m, e, "@A..\\prog.exe"}, 2, "separador de pastas"},
      {"missing server copy", {"@F1", m, e, "@Aoutro.exe"}, 1, "não existe. Nada foi"},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.Rotulo);
    const auto r = Executar(c.Argumentos);
    EXPECT_EQ(r.Codigo, c.Codigo);
    EXPECT_NE(r.Erros.find(c.Mensagem), std::string::npos) << r.Erros;
    EXPECT_TRUE(r.Erros.starts_with("tolvaneAtualizador: ")) << r.Erros;
    EXPECT_EQ(LerArquivo(FAtual), "velho");
    EXPECT_EQ(EntradasDaPasta(FExecutavel), std::vector<std::string>{kNome});
    EXPECT_FALSE(fs::exists(CaminhoDe(FRegistro)));
  }
}

// A refused update must not lock the user out: the program found is started again, and learns
// why from the failure marker beside it or, when that cannot be written, from its environment.
TEST_F(AtualizadorWindows, NothingReplacedRestartsTheOldProgramWithTheReason) {
  const std::string motivo = "A cópia do servidor \"" + FNovo + "\" é uma pasta, não um arquivo.";
  const std::string marcador = JuntarCaminho(FExecutavel, "Exec-tolvane Gestor.falha");
  fs::remove(CaminhoDe(FNovo));
  fs::create_directory(CaminhoDe(FNovo));
  fs::remove(CaminhoDe(FAtual));
  fs::copy_file(CaminhoDe(CAMINHO_PROGRAMA_SUBSTITUIDO), CaminhoDe(FAtual));
  const std::string antigo = LerArquivo(FAtual);
  for (const bool marcadorPossivel : {true, false}) {
    SCOPED_TRACE(marcadorPossivel ? "marker written" : "marker cannot be written");
    fs::remove_all(CaminhoDe(FRegistro));
    fs::remove_all(CaminhoDe(marcador));
    if (!marcadorPossivel) fs::create_directory(CaminhoDe(marcador));

    const auto r = Executar(Linha());
    EXPECT_EQ(r.Codigo, 1);
    EXPECT_NE(r.Erros.find(motivo + " Nada foi substituído."), std::string::npos) << r.Erros;
    EXPECT_EQ(Registro(), FExecutavel + "\n[" + (marcadorPossivel ? "" : motivo) + "]\n0\n");
    EXPECT_EQ(LerArquivo(FAtual), antigo);
    if (marcadorPossivel)
      EXPECT_EQ(LerArquivo(marcador), EmUtf16le("[falha]\nmotivo=" + motivo + "\n"));
    else
      EXPECT_NE(r.Erros.find("O marcador de falha não pôde ser gravado"), std::string::npos)
          << r.Erros;
  }
}

TEST_F(AtualizadorWindows, ReplacedButNotStartableExitsThree) {
  EscreverArquivo(FNovo, "não é um programa\n");
  const auto r = Executar(Linha());
  EXPECT_EQ(r.Codigo, 3);
  EXPECT_NE(r.Erros.find("foi atualizado, mas não pôde ser iniciado"), std::string::npos)
      << r.Erros;
  EXPECT_EQ(LerArquivo(FAtual), "não é um programa\n");
  EXPECT_TRUE(fs::exists(CaminhoDe(JuntarCaminho(FExecutavel, "Exec-tolvane Gestor.ini"))));
}

}  // namespace
}  // namespace tolvane
