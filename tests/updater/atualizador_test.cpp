// The updater program itself, run as the program runs it: a child process with a command line.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "comum/arquivos_teste.h"
#include "comum/chave_teste.h"
#include "comum/espera_teste.h"
#include "comum/processo_teste.h"
#include "core/texto.h"
#include "updater/atualizador.h"
#include "updater/estado_arquivo.h"

namespace tolvane {
namespace {

using teste::ChaveTeste;
using teste::DefinirTempo;
using teste::EntradasDaPasta;
using teste::EscreverArquivo;
using teste::Estado;
using teste::LerArquivo;
namespace fs = std::filesystem;

class AtualizadorPrograma : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(FServidor);
    fs::create_directories(FExecutavel);
    // The server copy: a stand-in for the program that records its arguments and directory.
    FNovo = "#!/bin/sh\n{ pwd; echo \"$#\"; for a in \"$@\"; do echo \"$a\"; done; } > '" +
            FBase / "registro.tmp" + "' && mv '" + FBase / "registro.tmp" + "' '" +
            FBase / "registro" + "'\n";
    EscreverArquivo(FServidor + "/tolvaneGestor", FNovo, fs::perms(0755));
    DefinirTempo(FServidor + "/tolvaneGestor", 1700000000, 987654321);
    EscreverArquivo(FExecutavel + "/tolvaneGestor", "velho", fs::perms(0755));
  }

  teste::Execucao Executar(const std::vector<std::string>& AArgumentos) {
    teste::Execucao r = teste::ExecutarLendo(CAMINHO_ATUALIZADOR, AArgumentos, FBase.Caminho());
    EXPECT_EQ(r.Saida, "") << "the updater writes nothing on stdout";
    return r;
  }

  // What the restarted stand-in recorded: its directory, its argument count and arguments. The
  // program is started detached, so the record comes when it comes.
  std::string Registro() {
    const std::string caminho = FBase / "registro";
    return teste::LerQuandoPronto(caminho).value_or("(the program was not started)");
  }

  void EsperarExecutavelAntigoInteiro() {
    EXPECT_EQ(LerArquivo(FExecutavel + "/tolvaneGestor"), "velho");
    EXPECT_EQ(EntradasDaPasta(FExecutavel), std::vector<std::string>{"tolvaneGestor"});
    EXPECT_FALSE(fs::exists(FBase / "registro"));
  }

  teste::PastaTemporaria FBase;
  // Folders with what a shell would take for code, quotes, blanks, accents and a "§" of its own.
  const std::string FServidor = FBase / "Servidor $(touch INVADIDO) \"aspas\"/Atualização";
  const std::string FExecutavel = FBase / "Estação 'x' `touch INVADIDO` Novo";
  std::string FNovo;
};

TEST_F(AtualizadorPrograma, FourTokensReplaceMarkAndRestart) {
  const auto r = Executar({"@F1", "@M" + CodificarBrancos(FServidor),
                           "@E" + CodificarBrancos(FExecutavel), "@AtolvaneGestor"});
  EXPECT_EQ(r.Codigo, 0) << r.Erros;
  EXPECT_EQ(r.Erros, "");
  EXPECT_EQ(Registro(), FExecutavel + "\n0\n");
  EXPECT_EQ(LerArquivo(FExecutavel + "/tolvaneGestor"), FNovo);
  const struct stat st = Estado(FExecutavel + "/tolvaneGestor");
  EXPECT_EQ(st.st_mtim.tv_sec, 1700000000);
  EXPECT_EQ(st.st_mtim.tv_nsec, 987654321);
  EXPECT_EQ(LerArquivo(FExecutavel + "/Exec-tolvaneGestor.ini"), "[configuracao]\npastamestre=\n");
  EXPECT_EQ(EntradasDaPasta(FExecutavel),
            (std::vector<std::string>{"Exec-tolvaneGestor.ini", "tolvaneGestor"}));
  EXPECT_EQ(std::ranges::count(EntradasDaPasta(FBase.Caminho()), std::string("INVADIDO")), 0);
}

TEST_F(AtualizadorPrograma, WindowsLineWithMasterFolderHint) {
  EscreverArquivo(FServidor + "/pastamestre.txt", "/srv/Pasta Mestre Ação\n");
  const auto r = Executar({"@F1 @M" + CodificarBrancos(FServidor) + " @E" +
                           CodificarBrancos(FExecutavel) + " @AtolvaneGestor"});
  EXPECT_EQ(r.Codigo, 0) << r.Erros;
  EXPECT_EQ(Registro(), FExecutavel + "\n0\n");
  EXPECT_EQ(LerArquivo(FExecutavel + "/Exec-tolvaneGestor.ini"),
            "\xEF\xBB\xBF[configuracao]\npastamestre=/srv/Pasta Mestre Ação\n");
}

TEST_F(AtualizadorPrograma, FailuresExitNonZeroWithAMessageAndTouchNothing) {
  struct Caso {
    const char* Rotulo;
    std::vector<std::string> Argumentos;
    int Codigo;
    const char* Mensagem;
  };
  const std::string m = "@M" + CodificarBrancos(FServidor);
  const std::string e = "@E" + CodificarBrancos(FExecutavel);
  const Caso casos[] = {
      {"unknown_mode", {"@F2", m, e, "@AtolvaneGestor"}, 2, "Modo desconhecido \"@F2\""},
      {"missing_tag", {"@F1", m, "@AtolvaneGestor"}, 2, "Falta a etiqueta @E"},
      {"name_leaves_the_folder", {"@F1", m, e, "@A../tolvaneGestor"}, 2, "separador de pastas"},
      {"missing_server_copy", {"@F1", m, e, "@AoutroPrograma"}, 1, "não existe. Nada foi"},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.Rotulo);
    const auto r = Executar(c.Argumentos);
    EXPECT_EQ(r.Codigo, c.Codigo);
    EXPECT_NE(r.Erros.find(c.Mensagem), std::string::npos) << r.Erros;
    EXPECT_TRUE(r.Erros.starts_with("tolvaneAtualizador: ")) << r.Erros;
    EsperarExecutavelAntigoInteiro();
  }
}

// A refused update must not lock the user out: the program found is started again, and learns
// why from the failure marker beside it or, when that cannot be written, from its environment.
TEST_F(AtualizadorPrograma, NothingReplacedRestartsTheOldProgramWithTheReason) {
  const std::string velho = "#!/bin/sh\n{ pwd; echo \"[$TOLVANE_FALHA_ATUALIZACAO]\"; } > '" +
                            FBase / "registro.tmp" + "' && mv '" + FBase / "registro.tmp" + "' '" +
                            FBase / "registro" + "'\n";
  const std::string motivo =
      "A cópia do servidor \"" + FServidor + "/tolvaneGestor\" é uma pasta, não um arquivo.";
  const std::string marcador = FExecutavel + "/Exec-tolvaneGestor.falha";
  for (const bool marcadorPossivel : {true, false}) {
    SCOPED_TRACE(marcadorPossivel ? "marker written" : "marker cannot be written");
    fs::remove_all(FBase / "registro");
    fs::remove_all(marcador);
    fs::remove_all(FServidor + "/tolvaneGestor");
    fs::create_directory(FServidor + "/tolvaneGestor");
    EscreverArquivo(FExecutavel + "/tolvaneGestor", velho, fs::perms(0755));
    if (!marcadorPossivel) fs::create_directory(marcador);

    const auto r = Executar({"@F1", "@M" + CodificarBrancos(FServidor),
                             "@E" + CodificarBrancos(FExecutavel), "@AtolvaneGestor"});
    EXPECT_EQ(r.Codigo, 1);
    EXPECT_NE(r.Erros.find(motivo + " Nada foi substituído."), std::string::npos) << r.Erros;
    EXPECT_EQ(Registro(), FExecutavel + "\n[" + (marcadorPossivel ? "" : motivo) + "]\n");
    EXPECT_EQ(LerArquivo(FExecutavel + "/tolvaneGestor"), velho);
    if (marcadorPossivel) {
      EXPECT_EQ(LerArquivo(marcador), "\xEF\xBB\xBF[falha]\nmotivo=" + motivo + "\n");
      EXPECT_EQ(EntradasDaPasta(FExecutavel),
                (std::vector<std::string>{"Exec-tolvaneGestor.falha", "tolvaneGestor"}));
    } else {
      EXPECT_NE(r.Erros.find("O marcador de falha não pôde ser gravado"), std::string::npos)
          << r.Erros;
    }
  }
}

TEST_F(AtualizadorPrograma, ReplacedButNotStartableExitsThree) {
  EscreverArquivo(FServidor + "/tolvaneGestor", "não é um programa\n", fs::perms(0755));
  const auto r = Executar({"@F1", "@M" + CodificarBrancos(FServidor),
                           "@E" + CodificarBrancos(FExecutavel), "@AtolvaneGestor"});
  EXPECT_EQ(r.Codigo, 3);
  EXPECT_NE(r.Erros.find("foi atualizado, mas não pôde ser iniciado"), std::string::npos)
      << r.Erros;
  EXPECT_EQ(LerArquivo(FExecutavel + "/tolvaneGestor"), "não é um programa\n");
  EXPECT_TRUE(fs::exists(FExecutavel + "/Exec-tolvaneGestor.ini"));
}

// With a publisher, the copy written beside the executable goes in place only when it carries the
// publisher's signature: a release changed after the program checked it is caught here, whatever
// the program saw. Run in this process, with a test key as the updater's publisher.
TEST_F(AtualizadorPrograma, WithAPublisherOnlyASignedCopyGoesInPlace) {
  const ChaveTeste chave;
  const std::string origem = FServidor + "/tolvaneGestor";
  const std::string marcador = FExecutavel + "/Exec-tolvaneGestor.falha";
  struct Caso {
    const char* Rotulo;
    bool Assinada;
    bool TrocadaDepois;
    const char* Motivo;  // nullptr: installed
  };
  const Caso casos[] = {
      {"signed", true, false, nullptr},
      {"swapped_after_signing", true, true, " não confere: o arquivo "},
      {"unsigned", false, false, " não tem assinatura digital: falta "},
  };
  const fs::path diretorio = fs::current_path();
  for (const auto& c : casos) {
    SCOPED_TRACE(c.Rotulo);
    fs::remove_all(FBase / "registro");
    fs::remove_all(marcador);
    fs::remove_all(FExecutavel + "/Exec-tolvaneGestor.ini");
    fs::remove_all(origem + ".sig");
    EscreverArquivo(origem, FNovo, fs::perms(0755));
    EscreverArquivo(FExecutavel + "/tolvaneGestor", "velho", fs::perms(0755));
    if (c.Assinada) chave.AssinarArquivo(origem);
    if (c.TrocadaDepois) EscreverArquivo(origem, FNovo + "# outra versão\n");

    std::ostringstream erros;
    const int codigo = ExecutarAtualizador(
        {"@F1", "@M" + CodificarBrancos(FServidor), "@E" + CodificarBrancos(FExecutavel),
         "@AtolvaneGestor"},
        erros, std::chrono::milliseconds(0),
        [&] { return std::optional<Publicador>(Publicador::DeChavePem(chave.PublicaPem())); });
    fs::current_path(diretorio);
    if (!c.Motivo) {
      EXPECT_EQ(codigo, 0) << erros.str();
      EXPECT_EQ(LerArquivo(FExecutavel + "/tolvaneGestor"), FNovo);
      continue;
    }
    EXPECT_EQ(codigo, 1);
    EXPECT_NE(erros.str().find(c.Motivo), std::string::npos) << erros.str();
    EXPECT_EQ(LerArquivo(FExecutavel + "/tolvaneGestor"), "velho");
    EXPECT_NE(LerArquivo(marcador).find(c.Motivo), std::string::npos);
    EXPECT_EQ(EntradasDaPasta(FExecutavel),
              (std::vector<std::string>{"Exec-tolvaneGestor.falha", "tolvaneGestor"}));
  }
}

}  // namespace
}  // namespace tolvane
