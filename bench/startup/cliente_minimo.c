/* The yardstick's database work: no error texts, no wrappers, only the calls. */
#include "cliente_minimo.h"

#include <dlfcn.h>
#include <ibase.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define FUNCAO(nome) __typeof__(&nome) nome##_p = (__typeof__(&nome))dlsym(lib, #nome)

int TrabalhoBancoMinimo(const char* ABanco) {
  void* lib = dlopen("libfbclient.so.2", RTLD_NOW | RTLD_LOCAL);
  if (!lib) {
    fprintf(stderr, "dlopen: %s\n", dlerror());
    return 1;
  }
  FUNCAO(isc_attach_database);
  FUNCAO(isc_start_transaction);
  FUNCAO(isc_dsql_allocate_statement);
  FUNCAO(isc_dsql_prepare);
  FUNCAO(isc_dsql_execute);
  FUNCAO(isc_dsql_fetch);
  FUNCAO(isc_dsql_free_statement);
  FUNCAO(isc_commit_transaction);
  if (!isc_attach_database_p || !isc_start_transaction_p || !isc_dsql_allocate_statement_p ||
      !isc_dsql_prepare_p || !isc_dsql_execute_p || !isc_dsql_fetch_p ||
      !isc_dsql_free_statement_p || !isc_commit_transaction_p) {
    fprintf(stderr, "libfbclient.so.2 lacks a function\n");
    return 1;
  }

  ISC_STATUS_ARRAY status;
  isc_db_handle banco = 0;
  isc_tr_handle transacao = 0;
  isc_stmt_handle comando = 0;
  char dpb[64];
  int n = 0;
  dpb[n++] = isc_dpb_version1;
  dpb[n++] = isc_dpb_user_name;
  dpb[n++] = 6;
  memcpy(dpb + n, "sysdba", 6);
  n += 6;
  dpb[n++] = isc_dpb_password;
  dpb[n++] = 9;
  memcpy(dpb + n, "quelvorin", 9);
  n += 9;
  static char tpb[] = {isc_tpb_version3, isc_tpb_read_committed, isc_tpb_rec_version,
                       isc_tpb_nowait};
  const char* sql =
      "select r.rdb$field_name from rdb$relation_fields r where "
      "r.rdb$relation_name = 'TAB_PARAMETRO' and r.rdb$field_name = 'VERSAO_ERP'";

  char campo[64];
  short nulo = 0;
  XSQLDA* saida = (XSQLDA*)calloc(1, XSQLDA_LENGTH(1));
  saida->version = SQLDA_VERSION1;
  saida->sqln = 1;

  if (isc_attach_database_p(status, 0, ABanco, &banco, (short)n, dpb) ||
      isc_start_transaction_p(status, &transacao, 1, &banco, (unsigned short)sizeof tpb, tpb) ||
      isc_dsql_allocate_statement_p(status, &banco, &comando) ||
      isc_dsql_prepare_p(status, &transacao, &comando, 0, sql, SQL_DIALECT_V6, saida)) {
    fprintf(stderr, "attach or prepare failed: %ld\n", (long)status[1]);
    return 1;
  }
  saida->sqlvar[0].sqldata = campo;
  saida->sqlvar[0].sqlind = &nulo;
  saida->sqlvar[0].sqltype = SQL_TEXT + 1;
  saida->sqlvar[0].sqllen = (short)sizeof campo;
  if (isc_dsql_execute_p(status, &transacao, &comando, SQL_DIALECT_V6, NULL)) {
    fprintf(stderr, "execute failed: %ld\n", (long)status[1]);
    return 1;
  }
  const ISC_STATUS lido = isc_dsql_fetch_p(status, &comando, SQL_DIALECT_V6, saida);
  if (lido != 0 && lido != 100) {
    fprintf(stderr, "fetch failed: %ld\n", (long)status[1]);
    return 1;
  }
  isc_dsql_free_statement_p(status, &comando, DSQL_drop);
  isc_commit_transaction_p(status, &transacao);
  free(saida);
  return 0;
}
