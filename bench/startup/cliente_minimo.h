#ifndef TOLVANE_BENCH_CLIENTE_MINIMO_H
#define TOLVANE_BENCH_CLIENTE_MINIMO_H

#ifdef __cplusplus
extern "C" {
#endif

/* The database work of the program's start-up, done the shortest way with the Firebird client:
   dlopen of libfbclient.so.2, attach (user and password only), the one transaction, the presence
   test of the parameter-table column VERSAO_ERP (prepare, execute, fetch), commit. The
   connection stays open, as the program keeps its own. Returns 0, or prints the failure and
   returns 1. */
int TrabalhoBancoMinimo(const char* ABanco);

#ifdef __cplusplus
}
#endif

#endif
