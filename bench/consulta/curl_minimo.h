#pragma once

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The baseline: the same GET as the test query, written as a minimal libcurl program would
   write it. One new handle per call; the client certificate and key come from the same PKCS#12
   file (no password) that the test query finds in the personal store, and the server is trusted
   through ca_file. The body is kept in memory, as the test query keeps it. Returns the HTTP
   status, or -1 on a transport failure; *tamanho receives the size of the body. */
long ConsultaCurlMinima(const char* url, const char* certificado, const char* ca_file,
                        size_t* tamanho);

#ifdef __cplusplus
}
#endif
