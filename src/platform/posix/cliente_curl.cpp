#include "platform/posix/cliente_curl.h"

#include <cstdlib>
#include <memory>
#include <mutex>

#include "core/erro.h"
#include "platform/posix/cliente_openssl.h"

namespace tolvane {

namespace {

constexpr char kInstalarCurl[] = "; instale a libcurl 7.85 ou mais nova, feita sobre o OpenSSL 3";

template <class F>
void Resolver(const Biblioteca& ABiblioteca, const std::string& ANomeBiblioteca, const char* ANome,
              F& AFuncao) {
  AFuncao = ABiblioteca.Funcao<F>(ANome);
  if (!AFuncao)
    throw ErroOle("A biblioteca " + ANomeBiblioteca + " não tem a função " + ANome + kInstalarCurl);
}

}  // namespace

bool EhOpenSsl3(std::string_view AVersaoTls) noexcept {
  constexpr std::string_view prefixo = "OpenSSL/3.";
  if (!AVersaoTls.starts_with(prefixo)) return false;
  const std::string_view resto = AVersaoTls.substr(prefixo.size());
  // A second library would follow after a space.
  return !resto.empty() && resto.front() >= '0' && resto.front() <= '9' &&
         resto.find(' ') == std::string_view::npos;
}

BibliotecaCurl::BibliotecaCurl(const std::string& ANome)
    : FBiblioteca(ANome, OrigemBiblioteca::Sistema) {
  if (!FBiblioteca.Carregada())
    throw ErroOle("Não foi possível carregar a biblioteca " + ANome + " (" +
                  FBiblioteca.ErroCarga() + "); instale o pacote libcurl4");
  ClienteCurl& c = FFuncoes;
  const Biblioteca& b = FBiblioteca;
  Resolver(b, ANome, "curl_global_init", c.curl_global_init);
  Resolver(b, ANome, "curl_version_info", c.curl_version_info);
  Resolver(b, ANome, "curl_easy_init", c.curl_easy_init);
  Resolver(b, ANome, "curl_easy_setopt", c.curl_easy_setopt);
  Resolver(b, ANome, "curl_easy_perform", c.curl_easy_perform);
  Resolver(b, ANome, "curl_easy_getinfo", c.curl_easy_getinfo);
  Resolver(b, ANome, "curl_easy_cleanup", c.curl_easy_cleanup);
  Resolver(b, ANome, "curl_easy_strerror", c.curl_easy_strerror);
  Resolver(b, ANome, "curl_slist_append", c.curl_slist_append);
  Resolver(b, ANome, "curl_slist_free_all", c.curl_slist_free_all);
  Resolver(b, ANome, "curl_url", c.curl_url);
  Resolver(b, ANome, "curl_url_set", c.curl_url_set);
  Resolver(b, ANome, "curl_url_get", c.curl_url_get);
  Resolver(b, ANome, "curl_url_cleanup", c.curl_url_cleanup);
  Resolver(b, ANome, "curl_free", c.curl_free);
  // The request hands libcurl an OpenSSL context callback: any other TLS library would take
  // the context for one of its own.
  const curl_version_info_data* versao = c.curl_version_info(CURLVERSION_NOW);
  if (!versao || !versao->ssl_version || !EhOpenSsl3(versao->ssl_version))
    throw ErroOle("A biblioteca " + ANome + " não usa o OpenSSL 3 (" +
                  (versao && versao->ssl_version ? versao->ssl_version : "sem TLS") + ")" +
                  kInstalarCurl);
  // The callback works on libcurl's SSL_CTX with the program's libssl.so.3 (cliente_openssl.h),
  // so both must be one library. A libssl function looked up through libcurl's handle (dlsym
  // searches libcurl, then the libraries it depends on) is the program's own only when libcurl
  // depends on that same libssl.so.3, not on OpenSSL 1.1 or a copy of OpenSSL 3 under a name of
  // its own. libssl.so.3 brings the program's libcrypto.so.3 along.
  if (FBiblioteca.Funcao<decltype(&::SSL_CTX_set_cert_cb)>("SSL_CTX_set_cert_cb") !=
      OpenSslTls().SSL_CTX_set_cert_cb)
    throw ErroOle("A biblioteca " + ANome + " não usa a mesma " + kBibliotecaSsl +
                  " que o programa" + kInstalarCurl);
  // libcurl writes every TLS session's secrets to the file this variable names, read once at the
  // global set-up; the program never hands its secrets to a file, whoever set the variable.
  unsetenv("SSLKEYLOGFILE");
  const CURLcode rc = c.curl_global_init(CURL_GLOBAL_DEFAULT);
  if (rc != CURLE_OK) throw ErroOle(c.curl_easy_strerror(rc));
}

const ClienteCurl& CarregarClienteCurl() {
  static std::mutex trava;
  static std::unique_ptr<BibliotecaCurl> biblioteca;
  const std::lock_guard<std::mutex> guarda(trava);
  if (!biblioteca) biblioteca = std::make_unique<BibliotecaCurl>(kBibliotecaCurl);
  return biblioteca->Funcoes();
}

}  // namespace tolvane
