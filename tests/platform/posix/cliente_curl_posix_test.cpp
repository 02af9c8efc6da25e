// libcurl loaded at run time: the one library it can work with, and one clear error for each
// library it cannot.
#include "platform/posix/cliente_curl.h"

#include <gtest/gtest.h>

#include "comum/espera_teste.h"
#include "core/erro.h"

namespace tolvane {
namespace {

TEST(BibliotecaCurl, TheSystemLibcurlLoadsWithEveryFunction) {
  const BibliotecaCurl curl(kBibliotecaCurl);
  const ClienteCurl& f = curl.Funcoes();
  for (const void* p : {reinterpret_cast<const void*>(f.curl_global_init),
                        reinterpret_cast<const void*>(f.curl_version_info),
                        reinterpret_cast<const void*>(f.curl_easy_init),
                        reinterpret_cast<const void*>(f.curl_easy_setopt),
                        reinterpret_cast<const void*>(f.curl_easy_perform),
                        reinterpret_cast<const void*>(f.curl_easy_getinfo),
                        reinterpret_cast<const void*>(f.curl_easy_cleanup),
                        reinterpret_cast<const void*>(f.curl_easy_strerror),
                        reinterpret_cast<const void*>(f.curl_slist_append),
                        reinterpret_cast<const void*>(f.curl_slist_free_all)})
    EXPECT_NE(p, nullptr);
  EXPECT_STREQ(f.curl_easy_strerror(CURLE_OK), "No error");
}

TEST(BibliotecaCurl, LibrariesItCannotUseAreOneClearError) {
  const struct {
    const char* Biblioteca;
    const char* Inicio;
  } casos[] = {
      {"libtolvane-inexistente.so.4",
       "Não foi possível carregar a biblioteca libtolvane-inexistente.so.4 (libtolvane-"},
      {"libz.so.1", "A biblioteca libz.so.1 não tem a função curl_global_init; instale"},
      // libcurl on GnuTLS would take the request's OpenSSL context for one of its own.
      {"libcurl-gnutls.so.4", "A biblioteca libcurl-gnutls.so.4 não usa o OpenSSL (GnuTLS/"},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.Biblioteca);
    const Erro e = teste::ErroLancado([&] { BibliotecaCurl curl(c.Biblioteca); });
    EXPECT_EQ(e.Classe(), "EOleException");
    EXPECT_EQ(e.Mensagem().rfind(c.Inicio, 0), 0u) << e.Mensagem();
  }
}

}  // namespace
}  // namespace tolvane
