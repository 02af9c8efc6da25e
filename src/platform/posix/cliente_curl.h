#pragma once

// The calls go through pointers, which curl.h's type-checking macros would take for calls of
// the functions themselves.
#define CURL_DISABLE_TYPECHECK
#include <curl/curl.h>

#include <string>
#include <string_view>

#include "platform/biblioteca.h"

namespace tolvane {

// The functions of libcurl that the HTTPS request calls, each typed by its prototype in curl.h
// and resolved once, when the library loads. Nothing links against libcurl: it and its many
// dependencies (TLS, Kerberos, LDAP, SSH ...) are loaded on the first request, not at every
// start of the program.
struct ClienteCurl {
  decltype(&::curl_global_init) curl_global_init = nullptr;
  decltype(&::curl_version_info) curl_version_info = nullptr;
  decltype(&::curl_easy_init) curl_easy_init = nullptr;
  decltype(&::curl_easy_setopt) curl_easy_setopt = nullptr;
  decltype(&::curl_easy_perform) curl_easy_perform = nullptr;
  decltype(&::curl_easy_getinfo) curl_easy_getinfo = nullptr;
  decltype(&::curl_easy_cleanup) curl_easy_cleanup = nullptr;
  decltype(&::curl_easy_strerror) curl_easy_strerror = nullptr;
  decltype(&::curl_slist_append) curl_slist_append = nullptr;
  decltype(&::curl_slist_free_all) curl_slist_free_all = nullptr;
  decltype(&::curl_url) curl_url = nullptr;
  decltype(&::curl_url_set) curl_url_set = nullptr;
  decltype(&::curl_url_get) curl_url_get = nullptr;
  decltype(&::curl_url_cleanup) curl_url_cleanup = nullptr;
  decltype(&::curl_free) curl_free = nullptr;
};

// The file name of libcurl built on OpenSSL (Debian package libcurl4).
inline constexpr char kBibliotecaCurl[] = "libcurl.so.4";

// True when AVersaoTls, the TLS library that libcurl names (curl_version_info's ssl_version), is
// OpenSSL 3 and no other: "OpenSSL/3.0.17". A libcurl built on several TLS libraries names them
// all ("OpenSSL/3.0.17 (Schannel)") and may take another one at its global set-up
// (CURL_SSL_BACKEND), so it is refused too.
bool EhOpenSsl3(std::string_view AVersaoTls) noexcept;

// One libcurl loaded from ANome with its functions resolved and its global set-up done. Throws
// ErroOle naming the library and the reason when it cannot be loaded, lacks a function, was
// built on a TLS library other than OpenSSL 3 (EhOpenSsl3), or uses another libssl than the
// program's own libssl.so.3 (cliente_openssl.h): the request hands OpenSSL objects between the
// two, so they must be one library. It loads that libssl.so.3 too, and throws OpenSslTls's error
// when it cannot.
class BibliotecaCurl {
 public:
  explicit BibliotecaCurl(const std::string& ANome);
  BibliotecaCurl(const BibliotecaCurl&) = delete;
  BibliotecaCurl& operator=(const BibliotecaCurl&) = delete;

  const ClienteCurl& Funcoes() const noexcept { return FFuncoes; }

 private:
  Biblioteca FBiblioteca;
  ClienteCurl FFuncoes;
};

// kBibliotecaCurl, loaded on the first call and kept until the process ends (libcurl's global
// state is never cleaned up). A failure throws as BibliotecaCurl does; a later call tries again.
const ClienteCurl& CarregarClienteCurl();

}  // namespace tolvane
