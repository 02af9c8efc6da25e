#include "database/banco_dados.h"

#include <gtest/gtest.h>

#include <clocale>
#include <optional>
#include <string>

#include "comum/arquivos_teste.h"
#include "comum/espera_teste.h"
#include "comum/porta_livre.h"
#include "comum/variavel_ambiente.h"
#include "database/comando_sql.h"
#include "database/firebird_teste.h"

namespace tolvane {
namespace {

using teste::CriarBanco;
using teste::PastaTemporaria;
using teste::Sessao;

constexpr const char* kTabela = "create table t (n integer);";

// The connection's own attachment: its remote protocol (NULL when embedded) and user.
std::string DescreverAnexacao(ConexaoBanco& AConexao) {
  ComandoSql comando(AConexao);
  comando.Executar(
      "select coalesce(mon$remote_protocol, 'embedded'), trim(mon$user) from mon$attachments "
      "where mon$attachment_id = current_connection");
  return *comando.Campo(0) + " " + *comando.Campo(1);
}

// The process as if started with LC_ALL=ANome, for the life of the object: the ANSI character
// set follows it.
class Localidade {
 public:
  explicit Localidade(const char* ANome) : FVariavel(std::in_place, "LC_ALL", ANome) {
    std::setlocale(LC_ALL, "");
  }
  ~Localidade() {
    FVariavel.reset();  // the variable as it was, then the process's locale from it
    std::setlocale(LC_ALL, "");
  }

 private:
  std::optional<teste::VariavelAmbiente> FVariavel;
};

class BancoDados : public teste::TesteFirebird {};

TEST_F(BancoDados, EmbeddedAttachOpensABarePathTrimmedAtBothEnds) {
  PastaTemporaria pasta;
  CriarBanco(pasta / "E.FDB", kTabela);
  ConexaoBanco conexao;
  TransacaoBanco transacao;
  ConfigurarBancoDados(conexao, transacao, " \t" + (pasta / "E.FDB") + " \r\n");
  conexao.Abrir();
  ASSERT_TRUE(conexao.Aberta());
  EXPECT_EQ(DescreverAnexacao(conexao), "embedded SYSDBA");
  EXPECT_TRUE(transacao.Ativa());  // started by the statement
  conexao.Fechar();
  EXPECT_FALSE(conexao.Aberta());
  EXPECT_FALSE(transacao.Ativa());
}

TEST_F(BancoDados, ServerAttachGoesThroughTheNetworkWithTheSystemsLogin) {
  PastaTemporaria pasta;
  const std::string nome = teste::EnderecoServidor() + ":" + (pasta / "S.FDB");
  CriarBanco(nome, kTabela);
  ConexaoBanco conexao;
  TransacaoBanco transacao;
  ConfigurarBancoDados(conexao, transacao, nome);
  conexao.Abrir();
  EXPECT_EQ(DescreverAnexacao(conexao), "TCPv4 SYSDBA");
  conexao.Fechar();
}

TEST_F(BancoDados, AttachFailuresCarryTheKindAndTheClientsText) {
  PastaTemporaria pasta;
  const std::string servidor = teste::EnderecoServidor() + ":" + (pasta / "S.FDB");
  CriarBanco(servidor, kTabela);
  const std::string semPorta = "127.0.0.1/" + std::to_string(teste::PortaLivre()) + ":/x.fdb";
  struct Caso {
    const char* Rotulo;
    std::string Nome;
    const char* Senha;
    const char* Classe;
    std::string Mensagem;
  };
  const Caso casos[] = {
      {"wrong password", servidor, "errada", "EIBInterBaseError",
       "Your user name and password are not defined. Ask your database administrator to set up "
       "a Firebird login"},
      {"missing file", pasta / "FALTA.FDB", "quelvorin", "EIBInterBaseError",
       "I/O error during \"open\" operation for file \"" + (pasta / "FALTA.FDB") +
           "\"\r\nError while trying to open file\r\nNo such file or directory"},
      {"server not listening", semPorta, "quelvorin", "EIBInterBaseError",
       "Unable to complete network request to host \"127.0.0.1\".\r\n"
       "Failed to establish a connection"},
      {"empty name", " \t\r\n ", "quelvorin", "EIBClientError", "Database name is missing"},
  };
  for (const Caso& c : casos) {
    ConexaoBanco conexao;
    TransacaoBanco transacao;
    ConfigurarBancoDados(conexao, transacao, c.Nome);
    conexao.DefinirParametros({"user_name=sysdba", std::string("password=") + c.Senha});
    {
      const Erro e =
          teste::ErroLancado([&] { conexao.Abrir(); }, std::string(c.Rotulo) + ": opened");
      EXPECT_EQ(e.Classe(), c.Classe) << c.Rotulo;
      EXPECT_EQ(e.Mensagem(), c.Mensagem) << c.Rotulo;
    }
    EXPECT_FALSE(conexao.Aberta()) << c.Rotulo;
  }
}

TEST_F(BancoDados, NonAsciiNameReachesTheClientInTheAnsiCharacterSet) {
  PastaTemporaria pasta;
  const std::string nome = pasta / "Ação São.FDB";
  CriarBanco(nome, kTabela);
  {
    Localidade utf8("C.UTF-8");
    Sessao sessao(nome);
    EXPECT_EQ(sessao.Valor("select count(*) from t"), "0");
  }
  Localidade ascii("C");  // no "ç" nor "ã" in ASCII: each becomes "?"
  ConexaoBanco conexao;
  TransacaoBanco transacao;
  ConfigurarBancoDados(conexao, transacao, nome);
  {
    const Erro e = teste::ErroLancado([&] { conexao.Abrir(); }, "opened");
    EXPECT_EQ(e.Mensagem(),
              "I/O error during \"open\" operation for file \"" + (pasta / "A??o S?o.FDB") +
                  "\"\r\nError while trying to open file\r\nNo such file or directory");
  }
}

TEST_F(BancoDados, CloseCommitsTheOpenTransactionAndDestructionRollsBack) {
  PastaTemporaria pasta;
  const std::string nome = pasta / "E.FDB";
  CriarBanco(nome, kTabela);
  {
    ConexaoBanco conexao;
    TransacaoBanco transacao;
    ConfigurarBancoDados(conexao, transacao, nome);
    conexao.Abrir();
    ComandoSql(conexao).Executar("insert into t values (1)");
    conexao.Fechar();
  }
  {
    // Without Fechar, the work is lost, as when the process ends.
    Sessao sessao(nome);
    sessao.Executar("insert into t values (2)");
  }
  Sessao sessao(nome);
  EXPECT_EQ(sessao.Valor("select count(*) || ':' || max(n) from t"), "1:1");
}

TEST_F(BancoDados, StatementsNeedAnOpenConnectionAndATransaction) {
  PastaTemporaria pasta;
  CriarBanco(pasta / "E.FDB", kTabela);
  ConexaoBanco conexao;
  TransacaoBanco transacao;
  ConfigurarBancoDados(conexao, transacao, pasta / "E.FDB");
  {
    const Erro e =
        teste::ErroLancado([&] { ComandoSql(conexao).Executar("select 1 from rdb$database"); },
                           "ran on a closed connection");
    EXPECT_EQ(e.Classe() + ": " + e.Mensagem(), "EIBClientError: Database not open");
  }
  conexao.Abrir();
  conexao.DefinirTransacaoPadrao(nullptr);
  {
    const Erro e =
        teste::ErroLancado([&] { ComandoSql(conexao).Executar("select 1 from rdb$database"); },
                           "ran without a transaction");
    EXPECT_EQ(e.Classe() + ": " + e.Mensagem(), "EIBClientError: Transaction not assigned");
  }
}

}  // namespace
}  // namespace tolvane
