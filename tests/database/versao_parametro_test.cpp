#include "database/versao_parametro.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "comum/arquivos_teste.h"
#include "database/firebird_teste.h"

namespace tolvane {
namespace {

using teste::CriarBanco;
using teste::PastaTemporaria;
using teste::Sessao;

using Linhas = std::vector<std::vector<std::optional<std::string>>>;
constexpr std::nullopt_t N = std::nullopt;

// The ERP's parameter table without the two columns, and its update log (highest number 117).
constexpr const char* kTabParametro =
    "create table tab_parametro (id_parametro integer not null primary key,"
    " razao_social varchar(60), cnpj char(18), dt_cadastro date);\n"
    "insert into tab_parametro values (1, 'Tolvane Comércio Ltda', '12.345.678/0001-90', "
    "'2019-03-01');\n"
    "insert into tab_parametro values (2, 'Filial Centro', '12.345.678/0002-71', '2021-07-15');\n"
    "insert into tab_parametro values (3, 'Filial O''Neill', null, null);\n";
constexpr const char* kLog =
    "create table mov_log_atualizacao (no_log_atualizacao integer not null primary key,"
    " dt_atualizacao timestamp, descricao varchar(100));\n";
constexpr const char* kLinhasLog =
    "insert into mov_log_atualizacao values (101, '2023-01-10 08:00', 'script 101');\n"
    "insert into mov_log_atualizacao values (117, '2024-05-02 18:30', 'script 117');\n"
    "insert into mov_log_atualizacao values (109, '2023-09-21 12:00', 'script 109');\n";

constexpr const char* kColunas =
    "select id_parametro, script_rodado, versao_erp from tab_parametro order by 1";

class VersaoParametro : public teste::TesteFirebird {
 protected:
  // The step's own connection, set up as the program sets it up.
  void Conectar() {
    ConfigurarBancoDados(FConexao, FTransacao, FNome);
    FConexao.Abrir();
  }

  // From a further attachment: no user attachment but this one holds a transaction, and the
  // step's connection is still among the AOutras other user attachments.
  void EsperarSemTransacaoAberta(const char* ARotulo, int AOutras = 1) {
    Sessao outra(FNome);
    EXPECT_EQ(outra.Valor("select count(*) from mon$transactions t join mon$attachments a on "
                          "a.mon$attachment_id = t.mon$attachment_id where a.mon$system_flag = 0 "
                          "and a.mon$attachment_id <> current_connection"),
              "0")
        << ARotulo;
    EXPECT_EQ(outra.Valor("select count(*) from mon$attachments where mon$system_flag = 0 and "
                          "mon$attachment_id <> current_connection"),
              std::to_string(AOutras))
        << ARotulo << ": the connection stays open";
    EXPECT_FALSE(FTransacao.Ativa()) << ARotulo;
  }

  PastaTemporaria FPasta;
  std::string FNome = FPasta / "ERP.FDB";
  ConexaoBanco FConexao;
  TransacaoBanco FTransacao;
};

TEST_F(VersaoParametro, DatabaseSetUpsEndWithBothColumnsAndNoOpenTransaction) {
  struct Caso {
    const char* Rotulo;
    std::string Sql;
    Linhas Esperado;
  };
  const std::string base = std::string(kTabParametro) + kLog + kLinhasLog;
  const Caso casos[] = {
      {"both columns absent: added and filled",
       base,
       {{"1", "117", "Versao Inicial"},
        {"2", "117", "Versao Inicial"},
        {"3", "117", "Versao Inicial"}}},
      {"empty update log: script_rodado NULL",
       std::string(kTabParametro) + kLog,
       {{"1", N, "Versao Inicial"}, {"2", N, "Versao Inicial"}, {"3", N, "Versao Inicial"}}},
      {"no rows: columns added", base + "delete from tab_parametro;", {}},
      {"VERSAO_ERP only in another table still counts as absent",
       base + "create table outra (versao_erp varchar(30));",
       {{"1", "117", "Versao Inicial"},
        {"2", "117", "Versao Inicial"},
        {"3", "117", "Versao Inicial"}}},
      {"script_rodado present: kept with its values, VERSAO_ERP added",
       base + "alter table tab_parametro add script_rodado integer;\ncommit;\n"
              "update tab_parametro set script_rodado = 5 * id_parametro where id_parametro < 3;",
       {{"1", "5", "Versao Inicial"}, {"2", "10", "Versao Inicial"}, {"3", N, "Versao Inicial"}}},
      {"both present: nothing written",
       base +
           "alter table tab_parametro add script_rodado integer;\n"
           "alter table tab_parametro add VERSAO_ERP varchar(30);\ncommit;\n"
           "update tab_parametro set script_rodado = 3, versao_erp = '' where id_parametro = 2;\n"
           "update tab_parametro set versao_erp = '4.2.1' where id_parametro = 3;",
       {{"1", N, N}, {"2", "3", ""}, {"3", N, "4.2.1"}}},
  };
  for (const Caso& c : casos) {
    PastaTemporaria pasta;
    FNome = pasta / "ERP.FDB";
    CriarBanco(FNome, c.Sql);
    Conectar();
    VerificarVersaoParametro(FConexao);
    EXPECT_EQ(Sessao(FNome).Consultar(kColunas), c.Esperado) << c.Rotulo;
    EsperarSemTransacaoAberta(c.Rotulo);
    FConexao.Fechar();
  }
}

TEST_F(VersaoParametro, SecondRunWritesNothing) {
  CriarBanco(FNome, std::string(kTabParametro) + kLog + kLinhasLog);
  Conectar();
  VerificarVersaoParametro(FConexao);
  FConexao.Fechar();
  Conectar();
  VerificarVersaoParametro(FConexao);
  // The step's attachment, seen from another: no record inserted, updated or deleted.
  Sessao outra(FNome);
  EXPECT_EQ(outra.Consultar("select r.mon$record_inserts, r.mon$record_updates, "
                            "r.mon$record_deletes from mon$attachments a join mon$record_stats r "
                            "on r.mon$stat_id = a.mon$stat_id where a.mon$system_flag = 0 and "
                            "a.mon$attachment_id <> current_connection"),
            Linhas({{"0", "0", "0"}}));
}

TEST_F(VersaoParametro, MissingUpdateLogFailsAfterTheColumnsAreCommitted) {
  CriarBanco(FNome, kTabParametro);
  Conectar();
  try {
    VerificarVersaoParametro(FConexao);
    ADD_FAILURE() << "no failure";
  } catch (const ErroInterBase& e) {
    EXPECT_EQ(e.Classe(), "EIBInterBaseError");
    EXPECT_EQ(e.Codigos().front(), isc_dsql_error);
    EXPECT_EQ(e.Mensagem(),
              "Dynamic SQL Error\r\nSQL error code = -204\r\nTable unknown\r\n"
              "MOV_LOG_ATUALIZACAO\r\nAt line 1, column 86");
  }
  EXPECT_EQ(Sessao(FNome).Consultar(kColunas), Linhas({{"1", N, N}, {"2", N, N}, {"3", N, N}}));
  EsperarSemTransacaoAberta("missing update log");
}

TEST_F(VersaoParametro, LockConflictFailsAtOnceWithTheClientsTextAndNoRowHalfUpdated) {
  CriarBanco(FNome, std::string(kTabParametro) + kLog + kLinhasLog);
  Sessao outra(FNome);
  outra.Executar(
      "update tab_parametro set razao_social = 'Filial Centro II' where id_parametro = 2");
  Conectar();
  try {
    VerificarVersaoParametro(FConexao);
    ADD_FAILURE() << "no failure";
  } catch (const ErroInterBase& e) {
    EXPECT_EQ(e.Classe(), "EIBInterBaseError");
    EXPECT_EQ(e.Codigos(), (std::vector<ISC_STATUS>{isc_deadlock, isc_update_conflict,
                                                    isc_concurrent_transaction}));
    const std::string inicio =
        "deadlock\r\nupdate conflicts with concurrent update\r\nconcurrent transaction number is ";
    EXPECT_EQ(e.Mensagem().substr(0, inicio.size()), inicio) << e.Mensagem();
  }
  outra.Transacao.Desfazer();
  EXPECT_EQ(outra.Consultar(kColunas), Linhas({{"1", N, N}, {"2", N, N}, {"3", N, N}}));
  EsperarSemTransacaoAberta("lock conflict", 2);
}

// Another workstation adding the columns at the same moment, held here as an attachment whose
// ALTERs are not committed yet when the step starts: the step loses the race on the catalog,
// undoes its try and looks again. The other copy then commits (its columns make this a normal
// start), rolls back (the step adds them itself), or holds on past the step's tries (the
// client's error, nothing added). Either way the table gets one new format, never two.
TEST_F(VersaoParametro, ColumnsBeingAddedByAnotherCopyAreNotAddedTwice) {
  enum class Outra { Confirma, Desfaz, Segura };
  struct Caso {
    const char* Rotulo;
    Outra Fim;
    Linhas Esperado;
    const char* Formatos;
  };
  const Caso casos[] = {
      {"the other copy commits", Outra::Confirma, {{"1", N, N}, {"2", N, N}, {"3", N, N}}, "2"},
      {"the other copy rolls back",
       Outra::Desfaz,
       {{"1", "117", "Versao Inicial"},
        {"2", "117", "Versao Inicial"},
        {"3", "117", "Versao Inicial"}},
       "2"},
      {"the other copy holds on", Outra::Segura, {}, "1"},
  };
  const std::string formatos =
      "select count(*) from rdb$formats f join rdb$relations r on r.rdb$relation_id = "
      "f.rdb$relation_id where r.rdb$relation_name = 'TAB_PARAMETRO'";
  for (const Caso& c : casos) {
    PastaTemporaria pasta;
    FNome = pasta / "ERP.FDB";
    CriarBanco(FNome, std::string(kTabParametro) + kLog + kLinhasLog);
    Sessao outra(FNome);
    outra.Executar("alter table tab_parametro add script_rodado integer");
    outra.Executar("alter table tab_parametro add VERSAO_ERP varchar(30)");
    std::thread fim;
    if (c.Fim != Outra::Segura)
      fim = std::thread([&outra, &c] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        if (c.Fim == Outra::Confirma)
          outra.Transacao.Confirmar();
        else
          outra.Transacao.Desfazer();
      });
    Conectar();
    try {
      VerificarVersaoParametro(FConexao);
      EXPECT_NE(c.Fim, Outra::Segura) << c.Rotulo << ": no failure";
    } catch (const ErroInterBase& e) {
      EXPECT_EQ(c.Fim, Outra::Segura) << c.Rotulo << ": " << e.Mensagem();
      EXPECT_EQ(e.Codigos().front(), isc_no_meta_update) << c.Rotulo;
      EXPECT_EQ(e.Mensagem().substr(0, 62),
                "unsuccessful metadata update\r\nALTER TABLE TAB_PARAMETRO failed")
          << c.Rotulo;
    }
    if (fim.joinable()) fim.join();
    if (c.Fim == Outra::Segura) outra.Transacao.Desfazer();
    Sessao depois(FNome);
    EXPECT_EQ(depois.Valor(formatos), c.Formatos) << c.Rotulo;
    if (c.Fim == Outra::Segura)
      EXPECT_EQ(depois.Consultar("select count(*) from rdb$relation_fields where "
                                 "rdb$relation_name = 'TAB_PARAMETRO'"),
                Linhas({{"4"}}))
          << c.Rotulo << ": a column was added";
    else
      EXPECT_EQ(depois.Consultar(kColunas), c.Esperado) << c.Rotulo;
    EsperarSemTransacaoAberta(c.Rotulo, 3);
    FConexao.Fechar();
  }
}

}  // namespace
}  // namespace tolvane
