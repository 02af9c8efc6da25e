// The database under faults, on a Firebird server of this suite's own (so that it can be killed
// and shut down): each case gives its exact client text, and afterwards the database validates
// clean (gfix -v -full) with either both version columns or neither.
#include <signal.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <regex>
#include <string>
#include <thread>

#include "comum/arquivos_teste.h"
#include "comum/processo_teste.h"
#include "core/erro.h"
#include "database/banco_dados.h"
#include "database/comando_sql.h"
#include "database/firebird_teste.h"
#include "database/versao_parametro.h"

namespace tolvane {
namespace {

using teste::PastaTemporaria;

constexpr const char* kEsquema =
    "create table tab_parametro (id_parametro integer not null primary key,"
    " razao_social varchar(60));\n"
    "insert into tab_parametro values (1, 'Matriz');\n"
    "insert into tab_parametro values (2, 'Filial');\n"
    "create table mov_log_atualizacao (no_log_atualizacao integer not null primary key);\n"
    "insert into mov_log_atualizacao values (117);\n";

// A Firebird server started for this suite alone (tests/database/servidor_firebird.sh).
class ServidorProprio {
 public:
  explicit ServidorProprio(std::string APasta) : FPasta(std::move(APasta)) { Iniciar(); }
  ~ServidorProprio() { Comando("parar"); }
  ServidorProprio(const ServidorProprio&) = delete;
  ServidorProprio& operator=(const ServidorProprio&) = delete;

  void Iniciar() {
    if (Comando("iniciar") != 0)
      throw std::runtime_error("servidor_firebird.sh: " + teste::LerArquivo(FPasta + ".log"));
    const std::string porta = teste::LerArquivo(FPasta + "/porta");
    FEndereco = "127.0.0.1/" + porta.substr(0, porta.find('\n'));
  }
  // Killed at once, as a crash or a power cut would end it; returns when it is gone.
  void Matar() const {
    const std::string pid = teste::LerArquivo(FPasta + "/pid");
    ::kill(std::stoi(pid), SIGKILL);
    const std::string estado = "/proc/" + std::to_string(std::stoi(pid)) + "/stat";
    for (int i = 0; i < 200 && std::filesystem::exists(estado); ++i) {
      std::ifstream arquivo(estado);
      std::string campo;
      arquivo >> campo >> campo >> campo;  // pid, name, state
      if (campo == "Z") break;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  }
  const std::string& Endereco() const { return FEndereco; }

 private:
  int Comando(const char* AOperacao) const {
    return teste::Executar(TOLVANE_SERVIDOR_FIREBIRD, {AOperacao, FPasta}, FPasta + ".log");
  }
  std::string FPasta;
  std::string FEndereco;
};

class BancoFalhas : public teste::TesteFirebird {
 protected:
  static void SetUpTestSuite() {
    teste::TesteFirebird::SetUpTestSuite();
    FBase = std::make_unique<PastaTemporaria>();
    FServidor = std::make_unique<ServidorProprio>(*FBase / "servidor");
  }
  static void TearDownTestSuite() {
    FServidor.reset();
    FBase.reset();
  }

  // gfix on the database through the server; its output, empty when it found nothing.
  static std::string Gfix(const std::string& ABanco, const std::vector<std::string>& AOpcoes,
                          int& ACodigo) {
    const std::string saida = *FBase / "gfix.txt";
    std::vector<std::string> argumentos = AOpcoes;
    argumentos.insert(argumentos.end(), {"-user", "SYSDBA", "-password", "quelvorin",
                                         FServidor->Endereco() + ":" + ABanco});
    ACodigo = teste::Executar("gfix", argumentos, saida);
    return teste::LerArquivo(saida);
  }
  static void Validar(const std::string& ABanco) {
    int codigo = 0;
    EXPECT_EQ(Gfix(ABanco, {"-v", "-full"}, codigo), "");
    EXPECT_EQ(codigo, 0);
  }
  // "<version columns> <rows filled>", the rows counted only when both columns are there.
  static std::string Colunas(const std::string& ABanco) {
    teste::Sessao sessao(FServidor->Endereco() + ":" + ABanco);
    const std::string colunas = sessao
                                    .Valor(
                                        "select count(*) from rdb$relation_fields where"
                                        " rdb$relation_name = 'TAB_PARAMETRO' and rdb$field_name in"
                                        " ('VERSAO_ERP', 'SCRIPT_RODADO')")
                                    .value_or("?");
    if (colunas != "2") return colunas;
    return colunas + " " +
           sessao
               .Valor(
                   "select count(*) from tab_parametro where versao_erp = 'Versao Inicial'"
                   " and script_rodado = 117")
               .value_or("?");
  }

  static inline std::unique_ptr<PastaTemporaria> FBase;
  static inline std::unique_ptr<ServidorProprio> FServidor;
};

struct CasoBanco {
  const char* Rotulo;
  // Before the start; none: the server is killed after the parameter-table step instead.
  std::function<void(const std::string& ABanco)> Preparar;
  // What fails and with which text: "abrir" (the attach), "versao" (the parameter-table step),
  // "fechar" (the close at exit) or "nenhuma".
  const char* Etapa;
  std::string Mensagem;  // a pattern; "{banco}" stands for the database's path on the server
  // Version columns afterwards ("0", or "2" and the rows filled), never one column alone.
  const char* Colunas;
  std::function<void(const std::string& ABanco)> Restaurar;
};

TEST_F(BancoFalhas, StartAndCloseGiveTheExactMessageAndLeaveTheDatabaseWhole) {
  int codigo = 0;
  std::unique_ptr<teste::Sessao> outra;
  const CasoBanco casos[] = {
      {"banco_desligado_com_gfix_shut",
       [&](const std::string& b) {
         Gfix(b, {"-shut", "full", "-force", "0"}, codigo);
       },
       "abrir", "EIBInterBaseError: database {banco} shutdown", "0",
       [&](const std::string& b) {
         Gfix(b, {"-online", "normal"}, codigo);
       }},
      {"banco_somente_leitura",
       [&](const std::string& b) {
         Gfix(b, {"-mode", "read_only"}, codigo);
       },
       "versao", "EIBInterBaseError: Dynamic SQL Error\r\nattempted update on read-only database",
       "0",
       [&](const std::string& b) {
         Gfix(b, {"-mode", "read_write"}, codigo);
       }},
      {"segunda_conexao_usando_a_tabela",
       [&](const std::string& b) {
         outra = std::make_unique<teste::Sessao>(FServidor->Endereco() + ":" + b);
         outra->Executar("update tab_parametro set razao_social = 'Outra' where id_parametro = 1");
       },
       // The columns are committed before the rows are filled: the rows that the other
       // attachment holds stop the fill, as a missing update log does.
       "versao",
       "EIBInterBaseError: deadlock\r\nupdate conflicts with concurrent update\r\n"
       "concurrent transaction number is [0-9]+",
       "2 0", [&](const std::string&) { outra.reset(); }},
      // What was committed stays; the client reports nothing at the close, so the program ends
      // as it would with the server up.
      {"servidor_morto_antes_do_fechamento", nullptr, "nenhuma", "", "2 2",
       [&](const std::string&) { FServidor->Iniciar(); }},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.Rotulo);
    const std::string banco = *FBase / (std::string(c.Rotulo) + ".fdb");
    teste::CriarBanco(FServidor->Endereco() + ":" + banco, kEsquema);
    if (c.Preparar) c.Preparar(banco);

    std::string etapa = "nenhuma";
    std::string mensagem;
    {
      ConexaoBanco conexao;
      TransacaoBanco transacao;
      ConfigurarBancoDados(conexao, transacao, FServidor->Endereco() + ":" + banco);
      try {
        etapa = "abrir";
        conexao.Abrir();
        etapa = "versao";
        VerificarVersaoParametro(conexao);
        if (c.Preparar == nullptr) FServidor->Matar();
        etapa = "fechar";
        conexao.Fechar();
        etapa = "nenhuma";
      } catch (const Erro& e) {
        mensagem = e.Classe() + ": " + e.Mensagem();
      }
      // The program goes on in the tray after a start-up error and closes at "&Sair", which
      // commits or else rolls back without a report.
      if (conexao.Aberta()) {
        EXPECT_NO_THROW(conexao.Fechar());
      }
      EXPECT_FALSE(conexao.Aberta());
    }
    if (c.Restaurar) c.Restaurar(banco);
    std::string esperado = c.Mensagem;
    if (const auto p = esperado.find("{banco}"); p != std::string::npos)
      esperado.replace(p, 7,
                       std::regex_replace(banco, std::regex(R"([.^$|()\[\]{}*+?\\])"), R"(\$&)"));
    EXPECT_EQ(etapa, c.Etapa);
    EXPECT_TRUE(std::regex_match(mensagem, std::regex(esperado))) << mensagem;
    Validar(banco);
    EXPECT_EQ(Colunas(banco), c.Colunas);
  }
}

}  // namespace
}  // namespace tolvane
