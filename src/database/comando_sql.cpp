#include "database/comando_sql.h"

#include "database/resposta_cliente.h"
#include "platform/codificacao.h"

namespace tolvane {

namespace {

constexpr unsigned short kDialeto = 3;

// An output descriptor for AColunas columns, zeroed, as the client expects it.
XSQLDA* NovoXsqlda(short AColunas) {
  const std::size_t n = AColunas > 0 ? static_cast<std::size_t>(AColunas) : 1;
  const std::size_t tamanho = sizeof(XSQLDA) + (n - 1) * sizeof(XSQLVAR);
  auto* d = static_cast<XSQLDA*>(std::calloc(1, tamanho));
  if (!d) throw std::bad_alloc();
  d->version = SQLDA_VERSION1;
  d->sqln = static_cast<short>(n);
  return d;
}

}  // namespace

ComandoSql::ComandoSql(ConexaoBanco& AConexao) : FConexao(AConexao), FCliente(AConexao.Cliente()) {}

ComandoSql::~ComandoSql() {
  if (FHandle != 0) {
    ISC_STATUS_ARRAY status;
    FCliente.isc_dsql_free_statement(status, &FHandle, DSQL_drop);
  }
}

void ComandoSql::Fechar() {
  FLinha = false;
  if (!FCursorAberto) return;
  FCursorAberto = false;
  ISC_STATUS_ARRAY status;
  FCliente.isc_dsql_free_statement(status, &FHandle, DSQL_close);
  VerificarStatus(FCliente, status);
}

void ComandoSql::Preparar(std::string_view ASql, TransacaoBanco& ATransacao) {
  ISC_STATUS_ARRAY status;
  if (FHandle == 0) {
    FCliente.isc_dsql_allocate_statement(status, FConexao.Handle(), &FHandle);
    VerificarStatus(FCliente, status);
  }
  const std::string sql = ParaAnsi(ASql);
  FSaida.reset(NovoXsqlda(1));
  // A length of 0 tells the client to read a null-terminated text: for texts beyond the field.
  const auto tamanho = static_cast<unsigned short>(sql.size() <= 65535 ? sql.size() : 0);
  FCliente.isc_dsql_prepare(status, ATransacao.Handle(), &FHandle, tamanho, sql.c_str(), kDialeto,
                            FSaida.get());
  VerificarStatus(FCliente, status);
  if (FSaida->sqld > FSaida->sqln) {
    FSaida.reset(NovoXsqlda(FSaida->sqld));
    FCliente.isc_dsql_describe(status, &FHandle, kDialeto, FSaida.get());
    VerificarStatus(FCliente, status);
  }
  const std::size_t colunas = ColunasDescritas(*FSaida);
  FDados.assign(colunas, {});
  FIndicadores.assign(colunas, 0);
  for (std::size_t i = 0; i < colunas; ++i) {
    XSQLVAR& v = FSaida->sqlvar[i];
    FDados[i].assign(TamanhoDados(v), '\0');
    v.sqldata = FDados[i].data();
    v.sqlind = &FIndicadores[i];
  }
}

bool ComandoSql::EhConsulta() {
  const char item = isc_info_sql_stmt_type;
  char resposta[16] = {};
  ISC_STATUS_ARRAY status;
  FCliente.isc_dsql_sql_info(status, &FHandle, 1, &item, sizeof resposta, resposta);
  VerificarStatus(FCliente, status);
  const int tipo = TipoComando(std::string_view(resposta, sizeof resposta));
  return tipo == isc_info_sql_stmt_select || tipo == isc_info_sql_stmt_select_for_upd;
}

void ComandoSql::Executar(std::string_view ASql) {
  Fechar();
  if (!FConexao.Aberta()) throw ErroClienteInterBase("Database not open");
  TransacaoBanco* transacao = FConexao.TransacaoPadrao();
  if (!transacao) throw ErroClienteInterBase("Transaction not assigned");
  if (!transacao->Ativa()) transacao->Iniciar();
  Preparar(ASql, *transacao);
  ISC_STATUS_ARRAY status;
  if (EhConsulta()) {
    FCliente.isc_dsql_execute(status, transacao->Handle(), &FHandle, kDialeto, nullptr);
    VerificarStatus(FCliente, status);
    FCursorAberto = true;
    Proximo();
  } else {
    FCliente.isc_dsql_execute2(status, transacao->Handle(), &FHandle, kDialeto, nullptr,
                               FSaida->sqld > 0 ? FSaida.get() : nullptr);
    VerificarStatus(FCliente, status);
  }
}

bool ComandoSql::Proximo() {
  FLinha = false;
  if (!FCursorAberto) return false;
  ISC_STATUS_ARRAY status;
  const ISC_STATUS rc = FCliente.isc_dsql_fetch(status, &FHandle, kDialeto, FSaida.get());
  if (rc == 100) return false;
  VerificarStatus(FCliente, status);
  FLinha = true;
  return true;
}

std::optional<std::string> ComandoSql::Campo(std::size_t AIndice) const {
  if (!FLinha || AIndice >= FDados.size()) throw ErroClienteInterBase("No current row");
  return ValorColuna(FSaida->sqlvar[AIndice]);
}

}  // namespace tolvane
