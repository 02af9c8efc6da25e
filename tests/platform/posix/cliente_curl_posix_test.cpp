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
      {"libcurl-gnutls.so.4", "A biblioteca libcurl-gnutls.so.4 não usa o OpenSSL 3 (GnuTLS/"},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.Biblioteca);
    const Erro e = teste::ErroLancado([&] { BibliotecaCurl curl(c.Biblioteca); });
    EXPECT_EQ(e.Classe(), "EOleException");
    EXPECT_EQ(e.Mensagem().rfind(c.Inicio, 0), 0u) << e.Mensagem();
    EXPECT_NE(e.Mensagem().find("instale"), std::string::npos) << e.Mensagem();
  }
}

TEST(BibliotecaCurl, OnlyOpenSsl3AloneIsTheTlsLibraryItTakes) {
  const struct {
    const char* VersaoTls;
    bool Aceita;
  } casos[] = {
      {"OpenSSL/3.0.17", true},
      {"OpenSSL/3.5.1", true},
      // OpenSSL 1.1 has other structures behind the same pointers.
      {"OpenSSL/1.1.1w", false},
      {"OpenSSL/30.0.0", false},
      {"OpenSSL/3", false},
      {"OpenSSL", false},
      {"GnuTLS/3.7.9", false},
      {"NSS/3.87.1", false},
      {"LibreSSL/3.8.2", false},
      {"BoringSSL", false},
      {"", false},
      // Several TLS libraries in one libcurl: the chosen one is written without parentheses,
      // and the choice can change at the global set-up.
      {"OpenSSL/3.0.17 (Schannel)", false},
      {"(OpenSSL/3.0.17) Schannel", false},
  };
  for (const auto& c : casos) EXPECT_EQ(EhOpenSsl3(c.VersaoTls), c.Aceita) << c.VersaoTls;
}

}  // namespace
}  // namespace tolvane
