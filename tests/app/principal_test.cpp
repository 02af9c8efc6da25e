// The start-up sequence and "Sair" against real INI files, a real embedded Firebird database,
// a real update folder and a real (empty or broken) certificate store.

#include "app/principal.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "comum/aplicacao_gravadora.h"
#include "comum/arquivos_teste.h"
#include "comum/variavel_ambiente.h"
#include "database/firebird_teste.h"

namespace tolvane {
namespace {

namespace fs = std::filesystem;

class JanelaGravadora : public JanelaPrincipal {
 public:
  std::string Dica;
  std::vector<std::string> Certificados{"de antes"};
  int Limpezas = 0;
  std::string Texto;

  void DefinirDicaBandeja(const std::string& ADica) override { Dica = ADica; }
  void LimparCertificados() override {
    ++Limpezas;
    Certificados.clear();
  }
  void AdicionarCertificado(const std::string& ANome) override { Certificados.push_back(ANome); }
  std::string TextoCertificado() const override { return Texto; }
};

// A workstation and its file server in one temporary folder:
//   estacao/tolvaneGestor, estacao/tolvaneempresa.ini -> servidor/dados/servidor.ini
//   servidor/dados/ERP.FDB, servidor/Update/{tolvaneAtualizador, tolvaneGestor (same time)}
class Partida : public teste::TesteFirebird {
 public:
  void SetUp() override { Montar(); }

  void Montar() {
    fs::create_directories(FPasta / "estacao");
    fs::create_directories(FPasta / "servidor/dados");
    fs::create_directories(FPasta / "servidor/Update");
    fs::create_directories(FPasta / "home");
    teste::EscreverArquivo(FExe, "programa");
    teste::EscreverArquivo(FPasta / "servidor/Update/tolvaneAtualizador", "#!/bin/sh\n",
                           fs::perms::owner_all);
    fs::copy_file(FExe, FPasta / "servidor/Update/tolvaneGestor");
    fs::last_write_time(FPasta / "servidor/Update/tolvaneGestor", fs::last_write_time(FExe));
    teste::EscreverArquivo(FPasta / "estacao/tolvaneempresa.ini",
                           "[IniServidor]\r\nnomearquivo=" + FIniServidor + "\r\n");
    EscreverIniServidor("", FPasta / "servidor/dados/", "ERP.FDB");
    teste::CriarBanco(FBanco,
                      "create table tab_parametro (id_parametro integer not null primary key,"
                      " razao_social varchar(60));\n"
                      "insert into tab_parametro values (1, 'Tolvane Comércio Ltda');\n"
                      "create table mov_log_atualizacao (no_log_atualizacao integer not null"
                      " primary key);\n"
                      "insert into mov_log_atualizacao values (41);\n");
    FApp = teste::AplicacaoGravadora();
    FApp.Exe = FExe;
  }

  void EscreverIniServidor(const std::string& AServidor, const std::string& APath,
                           const std::string& ANome) {
    teste::EscreverArquivo(FIniServidor, "[Database]\nServidor=" + AServidor + "\npath=" + APath +
                                             "\nname=" + ANome + "\n");
  }

  // FormCreate, with the code of a fatal end when there was one.
  std::optional<int> Iniciar(Principal& APrincipal) {
    try {
      APrincipal.FormCreate();
      return std::nullopt;
    } catch (const teste::FimDoProcesso& fim) {
      return fim.Codigo;
    }
  }

  teste::PastaTemporaria FPasta;
  teste::VariavelAmbiente FDados{"XDG_DATA_HOME", FPasta / "home"};
  std::string FExe = FPasta / "estacao/tolvaneGestor";
  std::string FIniServidor = FPasta / "servidor/dados/servidor.ini";
  std::string FBanco = FPasta / "servidor/dados/ERP.FDB";
  teste::AplicacaoGravadora FApp;
  JanelaGravadora FJanela;
};

TEST_F(Partida, EveryStepRunsAndTheWindowIsMarkedToBeShown) {
  Principal principal(FApp, FJanela);
  EXPECT_EQ(Iniciar(principal), std::nullopt);
  EXPECT_TRUE(FApp.Mensagens.empty()) << FApp.Mensagens[0].Texto;
  EXPECT_EQ(FJanela.Dica, "tolvane Gestor");
  EXPECT_EQ(FJanela.Limpezas, 1);
  EXPECT_TRUE(FJanela.Certificados.empty());  // empty personal store
  EXPECT_TRUE(FApp.Mostrar);
  ASSERT_TRUE(principal.IBD_BancoDados && principal.IBD_BancoDados->Aberta());
  principal.Sair1Click();
  EXPECT_FALSE(principal.IBD_BancoDados);
  EXPECT_FALSE(principal.IBT_BancoDados);
  EXPECT_EQ(FApp.Registro.back(), "Terminate");

  // The parameter-table step ran in the check: both columns are there and filled.
  teste::Sessao sessao(FBanco);
  EXPECT_EQ(sessao.Valor("select versao_erp from tab_parametro"), "Versao Inicial");
  EXPECT_EQ(sessao.Valor("select script_rodado from tab_parametro"), "41");
}

TEST_F(Partida, FatalFailuresShowTheirMessageAndEndTheProgram) {
  struct Caso {
    const char* Nome;
    std::function<void(Partida&)> Preparar;
    const char* Texto;  // the whole text, or its start when it ends in "..."
  };
  const Caso casos[] = {
      {"no local INI", [](Partida& p) { fs::remove(p.FPasta / "estacao/tolvaneempresa.ini"); },
       "Não foi encontrado o arquivo de inicialização"},
      {"version-4 executable beside the program, only the other INI",
       [](Partida& p) { teste::EscreverArquivo(p.FPasta / "estacao/tolvaneempresa4.exe", ""); },
       "Não foi encontrado o arquivo de inicialização"},
      {"server INI is a folder",
       [](Partida& p) {
         fs::remove(p.FIniServidor);
         fs::create_directory(p.FIniServidor);
       },
       "Não foi encontrado o arquivo de inicialização"},
      {"empty database name", [](Partida& p) { p.EscreverIniServidor(" ", "", ""); },
       "O Sistema não conseguiu conectar com a base de dados.\rEIBClientError: Database name is "
       "missing"},
      {"database file missing",
       [](Partida& p) { p.EscreverIniServidor("", p.FPasta / "servidor/dados/", "OUTRO.FDB"); },
       "O Sistema não conseguiu conectar com a base de dados.\rEIBInterBaseError: ..."},
      {"updater missing",
       [](Partida& p) { fs::remove(p.FPasta / "servidor/Update/tolvaneAtualizador"); },
       "Não foi encontrado o tolvane Atualizador no Servidor. Entre em contato com o suporte "
       "técnico da tolvane."},
  };
  for (const auto& c : casos) {
    if (&c != &casos[0]) {
      fs::remove_all(FPasta.Caminho());
      fs::create_directory(FPasta.Caminho());
      Montar();
    }
    c.Preparar(*this);
    Principal principal(FApp, FJanela);
    EXPECT_EQ(Iniciar(principal), 1) << c.Nome;
    ASSERT_EQ(FApp.Mensagens.size(), 1u) << c.Nome;
    const std::string esperado = c.Texto;
    const std::string& texto = FApp.Mensagens[0].Texto;
    if (esperado.ends_with("..."))
      EXPECT_TRUE(texto.starts_with(esperado.substr(0, esperado.size() - 3))) << texto;
    else
      EXPECT_EQ(texto, esperado) << c.Nome;
    EXPECT_EQ(FApp.Mensagens[0].Caption, "Aviso do Sistema") << c.Nome;
    EXPECT_FALSE(FApp.Mostrar) << c.Nome;
  }
}

TEST_F(Partida, AnUnhandledErrorGoesToTheDefaultDisplayAndLeavesTheWindowHidden) {
  // The personal store's folder is a file: the store cannot be opened.
  fs::create_directories(FPasta / "home/tolvane");
  teste::EscreverArquivo(FPasta / "home/tolvane/certificados", "");
  Principal principal(FApp, FJanela);
  EXPECT_EQ(Iniciar(principal), std::nullopt);
  ASSERT_EQ(FApp.Mensagens.size(), 1u);
  EXPECT_TRUE(FApp.Mensagens[0].Texto.starts_with("System Error.  Code: 20.\r\n"))
      << FApp.Mensagens[0].Texto;
  EXPECT_TRUE(FApp.Mensagens[0].Texto.ends_with("."));
  EXPECT_EQ(FApp.Mensagens[0].Caption, "tolvane Gestor");
  EXPECT_EQ(FApp.Mensagens[0].Flags, kMbIconError);
  EXPECT_EQ(FJanela.Dica, "tolvane Gestor");  // the steps before it ran
  EXPECT_TRUE(FJanela.Certificados.empty());
  EXPECT_FALSE(FApp.Mostrar);
  EXPECT_TRUE(principal.IBD_BancoDados->Aberta());  // the connection stays open
}

}  // namespace
}  // namespace tolvane
