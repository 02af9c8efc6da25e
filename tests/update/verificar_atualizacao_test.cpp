#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "comum/aplicacao_gravadora.h"
#include "comum/arquivos_teste.h"
#include "comum/localidade_teste.h"
#include "comum/variavel_ambiente.h"
#include "core/erro.h"
#include "platform/processo.h"
#include "update/modulo_atualizacao.h"

namespace tolvane {
namespace {

using namespace teste;
namespace fs = std::filesystem;

enum class Marcador { Nenhum, Arquivo, Pasta };
enum class Atualizador { Ausente, Executavel, SemExecucao, Pasta };
enum class Copia { Ausente, Igual, MesmoPasso, Nova, Antiga, Pasta, Em1979, Fila, LinkNova };
enum class Iniciador { Gravador, GravadorComFalha, Real };

const DataHora kDataExecutavel{2024, 1, 15, 10, 20, 30};

// The texts of the check, with {U} for the update folder and {E} for the executable folder.
const std::string kM1 =
    "MessageBox(Aviso do Sistema, 48): O aplicativo tolvaneGestor não será atualizado. A pasta {E} "
    "está com o arquivo DebugarDelphi.tmp";
const std::string kM2 =
    "MessageBox(Aviso do Sistema, 0): Não foi encontrado o tolvane Atualizador no Servidor. Entre "
    "em contato com o suporte técnico da tolvane.";
const std::string kM3 =
    "MessageBox(Aviso do Sistema, 48): Falha na atualização do aplicativo. Não foi encontrado o "
    "arquivo tolvaneGestor na pasta {U}.\rO Sistema será finalizado.";
const std::string kM4 =
    "MessageBox(Aviso do Sistema, 48): Falha na atualização do aplicativo. Não foi encontrado o "
    "arquivo tolvaneAtualizador na pasta {U}.\rO Sistema será finalizado.";
const std::string kNaoIniciado =
    "MessageBox(Aviso do Sistema, 48): Falha na atualização do aplicativo. Não foi possível "
    "iniciar o arquivo tolvaneAtualizador na pasta {U}.\rO Sistema será finalizado.";
const std::string kParametro = "VerificarVersaoParametro";
const std::string kAviso =
    "MostrarAviso(false, true): AVISO: Existe uma nova versão do aplicativo tolvaneGestor. A "
    "atualização será feita automaticamente. Aguarde...";
const std::string kIniciar = "Iniciar({U}/tolvaneAtualizador)[@F1][@M{U}][@E{E}][@AtolvaneGestor]";
const std::string kFim0 = "EncerrarProcesso(0)";
const std::string kFim1 = "EncerrarProcesso(1)";

std::string Substituir(std::string ATexto, const std::string& AMarca, const std::string& AValor) {
  for (auto pos = ATexto.find(AMarca); pos != std::string::npos;
       pos = ATexto.find(AMarca, pos + AValor.size()))
    ATexto.replace(pos, AMarca.size(), AValor);
  return ATexto;
}

// A workstation folder with the running executable and a file server with its INI folder; the
// update folder is the server's "Update".
class VerificarAtualizacaoTeste : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(LocaleInstalado("pt_BR.UTF-8"));
    EscreverArquivo(FExecutavel, "programa em uso", fs::perms::owner_all);
    DefinirDataLocal(FExecutavel, kDataExecutavel);
  }

  // The record, ending with "returned", "exit <code>" or the kind of the error that left.
  std::string Rodar(const std::function<void()>& AParametro, int AModo, Iniciador AIniciador) {
    IniciadorPrograma iniciador = [&](const std::string& APrograma,
                                      const std::vector<std::string>& AArgumentos) {
      std::string linha = "Iniciar(" + APrograma + ")";
      for (const auto& a : AArgumentos) linha += "[" + a + "]";
      FAplicacao.Registro.push_back(linha);
      if (AIniciador == Iniciador::Real) return IniciarPrograma(APrograma, AArgumentos);
      return std::string(AIniciador == Iniciador::GravadorComFalha ? "Permission denied" : "");
    };
    ModuloAtualizacao modulo(FAplicacao, iniciador);
    modulo.DefinirCaminhosAtualizacao(FIniServidor);
    try {
      modulo.VerificarAtualizacao(AParametro, AModo);
      return "returned";
    } catch (const FimDoProcesso& f) {
      return "exit " + std::to_string(f.Codigo);
    } catch (const Erro& e) {
      return e.Classe();
    }
  }

  std::vector<std::string> Esperado(const std::vector<std::string>& ALinhas) const {
    std::vector<std::string> r;
    for (const auto& l : ALinhas)
      r.push_back(Substituir(Substituir(l, "{U}", FAtualizacao), "{E}", FEstacao));
    return r;
  }

  PastaTemporaria FPasta;
  VariavelAmbiente FLocale{"LC_ALL", "pt_BR.UTF-8"};
  VariavelAmbiente FHome{"HOME", FPasta / "home"};
  VariavelAmbiente FConfig{"XDG_CONFIG_HOME", std::nullopt};
  const std::string FEstacao = FPasta / "estacao";
  const std::string FExecutavel = FEstacao + "/tolvaneGestor";
  const std::string FIniServidor = FPasta / "servidor/Dados/servidor.ini";
  const std::string FAtualizacao = FPasta / "servidor/Update";
  // One application for the whole test; the test adds its own steps to its record.
  AplicacaoGravadora FAplicacao{FExecutavel};
};

TEST_F(VerificarAtualizacaoTeste, StepsMessagesAndEnds) {
  struct Caso {
    const char* Rotulo;
    Marcador MarcadorDesenvolvedor;
    bool PastaExiste;
    Atualizador Programa;
    Copia CopiaServidor;
    Iniciador Inicio = Iniciador::Gravador;
    bool AtualizadorSomeNoParametro = false;
    bool ParametroFalha = false;
    int Modo = 1;
    std::vector<std::string> Registro;
    const char* Fim = "returned";
    bool PastaDepois = true;
    bool MarcadoresProcessados = true;
  };
  using enum Copia;
  const Caso casos[] = {
      {.Rotulo = "DeveloperMarkerCreatesNoFolder",
       .MarcadorDesenvolvedor = Marcador::Arquivo,
       .PastaExiste = false,
       .Programa = Atualizador::Ausente,
       .CopiaServidor = Ausente,
       .Registro = {kM1},
       .PastaDepois = false,
       .MarcadoresProcessados = false},
      {.Rotulo = "DeveloperMarkerIsTheOnlyEffectWhateverTheFolderHolds",
       .MarcadorDesenvolvedor = Marcador::Arquivo,
       .PastaExiste = true,
       .Programa = Atualizador::Executavel,
       .CopiaServidor = Nova,
       .Registro = {kM1},
       .MarcadoresProcessados = false},
      {.Rotulo = "DeveloperMarkerThatIsAFolderCountsForNothing",
       .MarcadorDesenvolvedor = Marcador::Pasta,
       .PastaExiste = true,
       .Programa = Atualizador::Executavel,
       .CopiaServidor = Igual,
       .Registro = {kParametro}},
      {.Rotulo = "NoUpdaterAfterTheFolderIsCreated",
       .MarcadorDesenvolvedor = Marcador::Nenhum,
       .PastaExiste = false,
       .Programa = Atualizador::Ausente,
       .CopiaServidor = Ausente,
       .Registro = {kM2, kFim1},
       .Fim = "exit 1"},
      {.Rotulo = "UpdaterThatIsAFolderIsNoUpdater",
       .MarcadorDesenvolvedor = Marcador::Nenhum,
       .PastaExiste = true,
       .Programa = Atualizador::Pasta,
       .CopiaServidor = Nova,
       .Registro = {kM2, kFim1},
       .Fim = "exit 1"},
      {.Rotulo = "NoServerCopyAfterTheParameterStep",
       .MarcadorDesenvolvedor = Marcador::Nenhum,
       .PastaExiste = true,
       .Programa = Atualizador::Executavel,
       .CopiaServidor = Ausente,
       .Registro = {kParametro, kM3, kFim1},
       .Fim = "exit 1"},
      {.Rotulo = "ServerCopyThatIsAFolderIsNoCopy",
       .MarcadorDesenvolvedor = Marcador::Nenhum,
       .PastaExiste = true,
       .Programa = Atualizador::Executavel,
       .CopiaServidor = Copia::Pasta,
       .Registro = {kParametro, kM3, kFim1},
       .Fim = "exit 1"},
      {.Rotulo = "ServerCopyThatIsAFifoIsNoCopy",
       .MarcadorDesenvolvedor = Marcador::Nenhum,
       .PastaExiste = true,
       .Programa = Atualizador::Executavel,
       .CopiaServidor = Fila,
       .Registro = {kParametro, kM3, kFim1},
       .Fim = "exit 1"},
      {.Rotulo = "ServerCopyThatIsALinkToANewerFileHandsOver",
       .MarcadorDesenvolvedor = Marcador::Nenhum,
       .PastaExiste = true,
       .Programa = Atualizador::Executavel,
       .CopiaServidor = LinkNova,
       .Registro = {kParametro, kAviso, kIniciar, kFim0},
       .Fim = "exit 0"},
      {.Rotulo = "EqualCopies",
       .MarcadorDesenvolvedor = Marcador::Nenhum,
       .PastaExiste = true,
       .Programa = Atualizador::Executavel,
       .CopiaServidor = Igual,
       .Registro = {kParametro}},
      {.Rotulo = "SameTwoSecondStepIsEqual",
       .MarcadorDesenvolvedor = Marcador::Nenhum,
       .PastaExiste = true,
       .Programa = Atualizador::Executavel,
       .CopiaServidor = MesmoPasso,
       .Registro = {kParametro}},
      {.Rotulo = "OtherModeStopsAfterTheParameterStep",
       .MarcadorDesenvolvedor = Marcador::Nenhum,
       .PastaExiste = true,
       .Programa = Atualizador::Executavel,
       .CopiaServidor = Nova,
       .Modo = 0,
       .Registro = {kParametro}},
      {.Rotulo = "NewerServerCopyHandsOver",
       .MarcadorDesenvolvedor = Marcador::Nenhum,
       .PastaExiste = true,
       .Programa = Atualizador::Executavel,
       .CopiaServidor = Nova,
       .Registro = {kParametro, kAviso, kIniciar, kFim0},
       .Fim = "exit 0"},
      {.Rotulo = "OlderServerCopyHandsOver",
       .MarcadorDesenvolvedor = Marcador::Nenhum,
       .PastaExiste = true,
       .Programa = Atualizador::Executavel,
       .CopiaServidor = Antiga,
       .Registro = {kParametro, kAviso, kIniciar, kFim0},
       .Fim = "exit 0"},
      {.Rotulo = "UpdaterGoneByTheHandOver",
       .MarcadorDesenvolvedor = Marcador::Nenhum,
       .PastaExiste = true,
       .Programa = Atualizador::Executavel,
       .CopiaServidor = Nova,
       .AtualizadorSomeNoParametro = true,
       .Registro = {kParametro, kM4, kFim1},
       .Fim = "exit 1"},
      {.Rotulo = "UpdaterThatDoesNotStartEndsWithAFailure",
       .MarcadorDesenvolvedor = Marcador::Nenhum,
       .PastaExiste = true,
       .Programa = Atualizador::Executavel,
       .CopiaServidor = Nova,
       .Inicio = Iniciador::GravadorComFalha,
       .Registro = {kParametro, kAviso, kIniciar, kNaoIniciado, kFim1},
       .Fim = "exit 1"},
      {.Rotulo = "UpdaterNotExecutableReallyStarted",
       .MarcadorDesenvolvedor = Marcador::Nenhum,
       .PastaExiste = true,
       .Programa = Atualizador::SemExecucao,
       .CopiaServidor = Nova,
       .Inicio = Iniciador::Real,
       .Registro = {kParametro, kAviso, kIniciar, kNaoIniciado, kFim1},
       .Fim = "exit 1"},
      {.Rotulo = "UnreadableServerTimeLeavesAsAnError",
       .MarcadorDesenvolvedor = Marcador::Nenhum,
       .PastaExiste = true,
       .Programa = Atualizador::Executavel,
       .CopiaServidor = Em1979,
       .Registro = {kParametro},
       .Fim = "EConvertError"},
      {.Rotulo = "ParameterStepErrorLeaves",
       .MarcadorDesenvolvedor = Marcador::Nenhum,
       .PastaExiste = true,
       .Programa = Atualizador::Executavel,
       .CopiaServidor = Nova,
       .ParametroFalha = true,
       .Registro = {kParametro},
       .Fim = "EIBInterBaseError"},
  };

  for (const auto& c : casos) {
    SCOPED_TRACE(c.Rotulo);
    std::error_code ec;
    fs::remove_all(FPasta / "servidor", ec);
    fs::remove_all(FEstacao + "/DebugarDelphi.tmp", ec);
    FAplicacao.Registro.clear();

    if (c.MarcadorDesenvolvedor == Marcador::Arquivo)
      EscreverArquivo(FEstacao + "/DebugarDelphi.tmp", "");
    if (c.MarcadorDesenvolvedor == Marcador::Pasta)
      fs::create_directories(FEstacao + "/DebugarDelphi.tmp");
    fs::create_directories(FPasta / "servidor/Dados");
    if (c.PastaExiste) fs::create_directories(FAtualizacao);
    const std::string atualizador = FAtualizacao + "/tolvaneAtualizador";
    if (c.Programa == Atualizador::Executavel)
      EscreverArquivo(atualizador, "#!/bin/sh\nexit 0\n", fs::perms::owner_all);
    if (c.Programa == Atualizador::SemExecucao)
      EscreverArquivo(atualizador, "#!/bin/sh\nexit 0\n",
                      fs::perms::owner_read | fs::perms::owner_write);
    if (c.Programa == Atualizador::Pasta) fs::create_directories(atualizador);
    const std::string copia = FAtualizacao + "/tolvaneGestor";
    const std::optional<DataHora> dataCopia =
        c.CopiaServidor == Igual        ? kDataExecutavel
        : c.CopiaServidor == MesmoPasso ? DataHora{2024, 1, 15, 10, 20, 31}
        : c.CopiaServidor == Nova       ? DataHora{2024, 2, 1, 9, 0, 0}
        : c.CopiaServidor == Antiga     ? DataHora{2023, 12, 1, 9, 0, 0}
        : c.CopiaServidor == Em1979     ? DataHora{1979, 6, 1, 12, 0, 0}
                                        : std::optional<DataHora>();
    if (dataCopia) {
      EscreverArquivo(copia, "nova versão");
      DefinirDataLocal(copia, *dataCopia);
    }
    if (c.CopiaServidor == Copia::Pasta) fs::create_directories(copia);
    if (c.CopiaServidor == Fila) {
      ASSERT_EQ(::mkfifo(copia.c_str(), 0644), 0);
    }
    if (c.CopiaServidor == LinkNova) {
      EscreverArquivo(copia + "-2.0", "nova versão");
      DefinirDataLocal(copia + "-2.0", DataHora{2024, 2, 1, 9, 0, 0});
      fs::create_symlink("tolvaneGestor-2.0", copia);
    }
    const std::string segundoMarcador = FEstacao + "/Exec-tolvaneGestor";
    EscreverArquivo(segundoMarcador, "");

    const std::string fim = Rodar(
        [&] {
          FAplicacao.Registro.push_back(kParametro);
          if (c.AtualizadorSomeNoParametro) fs::remove(atualizador);
          if (c.ParametroFalha) throw Erro("EIBInterBaseError", "unavailable database");
        },
        c.Modo, c.Inicio);

    EXPECT_EQ(FAplicacao.Registro, Esperado(c.Registro));
    EXPECT_EQ(fim, c.Fim);
    EXPECT_EQ(fs::is_directory(FAtualizacao), c.PastaDepois);
    EXPECT_EQ(!fs::exists(segundoMarcador), c.MarcadoresProcessados);
  }
}

// The updater replaced nothing and started this copy again, leaving the reason in the failure
// marker (or, when it could not write one, in the environment): this start says why, once, and
// goes on without handing over; a marker the copies have settled since goes without a word.
TEST_F(VerificarAtualizacaoTeste, RefusedUpdateIsReportedOnceAndTheProgramGoesOn) {
  struct Caso {
    const char* Rotulo;
    std::optional<std::string> Marcador;
    std::optional<std::string> Ambiente;
    DataHora DataCopia;
    std::vector<std::string> Registro;
    const char* Fim;
  };
  const DataHora nova{2024, 2, 1, 9, 0, 0};
  const std::string falha =
      "MessageBox(Aviso do Sistema, 48): Falha na atualização do aplicativo. ";
  const std::string continua = "\rO Sistema continuará com a versão atual.";
  const Caso casos[] = {
      {"marker_while_the_copies_differ",
       "\xEF\xBB\xBF[falha]\nmotivo=Não há espaço livre na pasta do executável.\n",
       std::nullopt,
       nova,
       {kParametro, falha + "Não há espaço livre na pasta do executável." + continua},
       "returned"},
      {"marker_without_a_reason",
       "[falha]\n",
       std::nullopt,
       nova,
       {kParametro, falha + "O tolvane Atualizador não substituiu o executável." + continua},
       "returned"},
      {"reason_in_the_environment",
       std::nullopt,
       "A pasta é somente leitura.",
       nova,
       {kParametro, falha + "A pasta é somente leitura." + continua},
       "returned"},
      {"marker_settled_by_equal_copies",
       "[falha]\nmotivo=x\n",
       std::nullopt,
       kDataExecutavel,
       {kParametro},
       "returned"},
      {"no_marker_hands_over",
       std::nullopt,
       std::nullopt,
       nova,
       {kParametro, kAviso, kIniciar, kFim0},
       "exit 0"},
  };
  const std::string marcador = FEstacao + "/Exec-tolvaneGestor.falha";
  fs::create_directories(FPasta / "servidor/Dados");
  fs::create_directories(FAtualizacao);
  EscreverArquivo(FAtualizacao + "/tolvaneAtualizador", "#!/bin/sh\nexit 0\n",
                  fs::perms::owner_all);
  for (const auto& c : casos) {
    SCOPED_TRACE(c.Rotulo);
    FAplicacao.Registro.clear();
    EscreverArquivo(FAtualizacao + "/tolvaneGestor", "nova versão");
    DefinirDataLocal(FAtualizacao + "/tolvaneGestor", c.DataCopia);
    if (c.Marcador) EscreverArquivo(marcador, *c.Marcador);
    const VariavelAmbiente ambiente("TOLVANE_FALHA_ATUALIZACAO", c.Ambiente);
    const std::string fim =
        Rodar([&] { FAplicacao.Registro.push_back(kParametro); }, 1, Iniciador::Gravador);
    EXPECT_EQ(FAplicacao.Registro, Esperado(c.Registro));
    EXPECT_EQ(fim, c.Fim);
    EXPECT_FALSE(fs::exists(marcador));
  }
}

TEST_F(VerificarAtualizacaoTeste, UpdateFolderThatCannotBeCreatedReadsAsNoUpdater) {
  EscreverArquivo(FPasta / "arquivo", "not a folder");
  for (const std::string& ini :
       {FPasta / "sem-montagem/Dados/servidor.ini", FPasta / "arquivo/Dados/servidor.ini"}) {
    SCOPED_TRACE(ini);
    FAplicacao.Registro.clear();
    ModuloAtualizacao modulo(FAplicacao, [](const std::string&, const std::vector<std::string>&) {
      return std::string("not to be called");
    });
    modulo.DefinirCaminhosAtualizacao(ini);
    EXPECT_THROW(modulo.VerificarAtualizacao(nullptr, 1), FimDoProcesso);
    EXPECT_EQ(FAplicacao.Registro, Esperado({kM2, kFim1}));
    EXPECT_FALSE(fs::exists(modulo.Caminhos().sPastaAtualizacao));
  }
}

// A server INI named without any folder gives the relative folder "Update": it is made in the
// current folder, one level.
TEST_F(VerificarAtualizacaoTeste, ServerIniWithoutSeparatorsUsesARelativeUpdateFolder) {
  const fs::path antes = fs::current_path();
  fs::create_directories(FPasta / "atual");
  fs::current_path(FPasta / "atual");
  ModuloAtualizacao modulo(FAplicacao);
  modulo.DefinirCaminhosAtualizacao("servidor.ini");
  EXPECT_THROW(modulo.VerificarAtualizacao(nullptr, 1), FimDoProcesso);
  fs::current_path(antes);
  EXPECT_EQ(modulo.Caminhos().sPastaAtualizacao, "Update");
  EXPECT_EQ(FAplicacao.Registro, Esperado({kM2, kFim1}));
  EXPECT_TRUE(fs::is_directory(FPasta / "atual/Update"));
}

}  // namespace
}  // namespace tolvane
