/* gds32.dll for the Windows suites under Wine: a winelib DLL that forwards the calls of the
 * Firebird client's classic API to the Linux client, libfbclient.so.2, loaded in the same
 * process. Only the tests build it; on Windows the real client is loaded.
 *
 * Built 32-bit for the release's suites (over the i386 client, which has no embedded engine, so
 * those reach their databases through the tests' server) and 64-bit for the other build. The
 * Windows side calls with stdcall (32-bit) or the Microsoft x64 convention, the Linux client takes
 * cdecl or the System V one: each wrapper is WINDOWS and each Linux prototype, written out here
 * rather than taken from ibase.h (whose macros assume one system), is LINUX. The types keep their
 * sizes on both sides (ISC_STATUS pointer-sized, handles and ISC_LONG 32 bits, no "long" in any
 * structure the calls take), so the buffers pass through unchanged.
 *
 * Built from gds32_antigo.spec, it stands for a client before Firebird 2.0: no fb_interpret,
 * only isc_interprete, which writes into a buffer whose size it is not told.
 *
 * What a Windows client does differently and the tests rely on:
 * - a database name is in the ANSI code page and error texts come back in it; the Linux client
 *   speaks the process's locale (UTF-8), so the name and the texts are converted here;
 * - its files are not inherited by the programs it starts, while the Linux client opens the
 *   database, its lock and shared-memory files without close-on-exec: every descriptor is
 *   marked close-on-exec after each call, before the Windows side can start a child (Wine's own
 *   descriptors are close-on-exec already; a child gets what it needs when it is started).
 * And the Linux client's system texts (strerror) are the C locale's, as in the Linux suites:
 * Wine set the process's locale to the user's. */

#include <dirent.h>
#include <fcntl.h>
#include <locale.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <windows.h>

typedef intptr_t Status;
typedef unsigned int Handle;
typedef int Longo;

#if defined(__x86_64__)
#define LINUX __attribute__((sysv_abi))
#define WINDOWS __attribute__((ms_abi))
#else
#define LINUX
#define WINDOWS __attribute__((stdcall))
#endif

LINUX Status isc_attach_database(Status*, short, const char*, Handle*, short, const char*);
LINUX Status isc_detach_database(Status*, Handle*);
LINUX Status isc_start_multiple(Status*, Handle*, short, void*);
LINUX Status isc_commit_retaining(Status*, Handle*);
LINUX Status isc_commit_transaction(Status*, Handle*);
LINUX Status isc_rollback_transaction(Status*, Handle*);
LINUX Status isc_dsql_allocate_statement(Status*, Handle*, Handle*);
LINUX Status isc_dsql_prepare(Status*, Handle*, Handle*, unsigned short, const char*,
                              unsigned short, void*);
LINUX Status isc_dsql_describe(Status*, Handle*, unsigned short, void*);
LINUX Status isc_dsql_sql_info(Status*, Handle*, short, const char*, short, char*);
LINUX Status isc_dsql_execute(Status*, Handle*, Handle*, unsigned short, const void*);
LINUX Status isc_dsql_execute2(Status*, Handle*, Handle*, unsigned short, const void*, const void*);
LINUX Status isc_dsql_fetch(Status*, Handle*, unsigned short, const void*);
LINUX Status isc_dsql_free_statement(Status*, Handle*, unsigned short);
LINUX Longo fb_interpret(char*, unsigned int, const Status**);

BOOL WINAPI DllMain(HINSTANCE AInstancia, DWORD AMotivo, LPVOID AReservado) {
  (void)AInstancia;
  (void)AReservado;
  if (AMotivo == DLL_PROCESS_ATTACH) setlocale(LC_MESSAGES, "C");
  return TRUE;
}

static Status FecharNaExecucao(Status ARetorno) {
  DIR* pasta = opendir("/proc/self/fd");
  if (pasta) {
    const int propria = dirfd(pasta);
    struct dirent* e;
    while ((e = readdir(pasta)) != NULL) {
      const int fd = atoi(e->d_name);
      if (fd > 2 && fd != propria) {
        const int marcas = fcntl(fd, F_GETFD);
        if (marcas >= 0 && !(marcas & FD_CLOEXEC)) fcntl(fd, F_SETFD, marcas | FD_CLOEXEC);
      }
    }
    closedir(pasta);
  }
  return ARetorno;
}

/* AOrigem code page to ADestino, into a buffer of the caller's; false when it does not fit. */
static BOOL Converter(UINT AOrigem, const char* ATexto, int ATamanho, UINT ADestino, char* ABuffer,
                      int ACapacidade, int* AConvertidos) {
  WCHAR largo[4096];
  const int n = MultiByteToWideChar(AOrigem, 0, ATexto, ATamanho, largo, 4096);
  if (ATamanho > 0 && n <= 0) return FALSE;
  const int m =
      n > 0 ? WideCharToMultiByte(ADestino, 0, largo, n, ABuffer, ACapacidade, NULL, NULL) : 0;
  if (n > 0 && m <= 0) return FALSE;
  *AConvertidos = m;
  return TRUE;
}

WINDOWS Status Ponte_isc_attach_database(Status* AStatus, short ATamanho, const char* ANome,
                                         Handle* ABanco, short ADpbTamanho, const char* ADpb) {
  char nome[8192];
  int n = 0;
  const int tamanho = ATamanho > 0 ? ATamanho : (ANome ? (int)strlen(ANome) : 0);
  if (!ANome || !Converter(CP_ACP, ANome, tamanho, CP_UTF8, nome, (int)sizeof nome, &n) ||
      n > 32767)
    return FecharNaExecucao(
        isc_attach_database(AStatus, ATamanho, ANome, ABanco, ADpbTamanho, ADpb));
  return FecharNaExecucao(isc_attach_database(AStatus, (short)n, nome, ABanco, ADpbTamanho, ADpb));
}

/* The message at AStatus in the ANSI code page, into a buffer of ACapacidade bytes. */
static Longo Interpretar(char* ABuffer, unsigned int ACapacidade, const Status** AStatus) {
  char texto[4096];
  const Longo n = fb_interpret(texto, sizeof texto, AStatus);
  int m = 0;
  if (n <= 0 || ACapacidade == 0) return n;
  if (!Converter(CP_UTF8, texto, n, CP_ACP, ABuffer, (int)ACapacidade - 1, &m)) {
    m = n < (Longo)ACapacidade ? n : (Longo)ACapacidade - 1;
    memcpy(ABuffer, texto, (size_t)m);
  }
  ABuffer[m] = '\0';
  return m;
}

WINDOWS Longo Ponte_fb_interpret(char* ABuffer, unsigned int ACapacidade, const Status** AStatus) {
  return Interpretar(ABuffer, ACapacidade, AStatus);
}

/* As the old clients do: no size given, the caller's buffer is taken to be large enough (the
 * text in the ANSI code page is never longer than the client's UTF-8). */
WINDOWS Longo Ponte_isc_interprete(char* ABuffer, const Status** AStatus) {
  return Interpretar(ABuffer, 4096, AStatus);
}

WINDOWS Status Ponte_isc_detach_database(Status* S, Handle* B) {
  return FecharNaExecucao(isc_detach_database(S, B));
}
WINDOWS Status Ponte_isc_start_multiple(Status* S, Handle* T, short N, void* Teb) {
  return FecharNaExecucao(isc_start_multiple(S, T, N, Teb));
}
WINDOWS Status Ponte_isc_commit_retaining(Status* S, Handle* T) {
  return FecharNaExecucao(isc_commit_retaining(S, T));
}
WINDOWS Status Ponte_isc_commit_transaction(Status* S, Handle* T) {
  return FecharNaExecucao(isc_commit_transaction(S, T));
}
WINDOWS Status Ponte_isc_rollback_transaction(Status* S, Handle* T) {
  return FecharNaExecucao(isc_rollback_transaction(S, T));
}
WINDOWS Status Ponte_isc_dsql_allocate_statement(Status* S, Handle* B, Handle* C) {
  return FecharNaExecucao(isc_dsql_allocate_statement(S, B, C));
}
WINDOWS Status Ponte_isc_dsql_prepare(Status* S, Handle* T, Handle* C, unsigned short N,
                                      const char* Sql, unsigned short D, void* Da) {
  return FecharNaExecucao(isc_dsql_prepare(S, T, C, N, Sql, D, Da));
}
WINDOWS Status Ponte_isc_dsql_describe(Status* S, Handle* C, unsigned short V, void* Da) {
  return FecharNaExecucao(isc_dsql_describe(S, C, V, Da));
}
WINDOWS Status Ponte_isc_dsql_sql_info(Status* S, Handle* C, short N, const char* I, short M,
                                       char* R) {
  return FecharNaExecucao(isc_dsql_sql_info(S, C, N, I, M, R));
}
WINDOWS Status Ponte_isc_dsql_execute(Status* S, Handle* T, Handle* C, unsigned short V,
                                      const void* Da) {
  return FecharNaExecucao(isc_dsql_execute(S, T, C, V, Da));
}
WINDOWS Status Ponte_isc_dsql_execute2(Status* S, Handle* T, Handle* C, unsigned short V,
                                       const void* Entrada, const void* Saida) {
  return FecharNaExecucao(isc_dsql_execute2(S, T, C, V, Entrada, Saida));
}
WINDOWS Status Ponte_isc_dsql_fetch(Status* S, Handle* C, unsigned short V, const void* Da) {
  return FecharNaExecucao(isc_dsql_fetch(S, C, V, Da));
}
WINDOWS Status Ponte_isc_dsql_free_statement(Status* S, Handle* C, unsigned short O) {
  return FecharNaExecucao(isc_dsql_free_statement(S, C, O));
}
