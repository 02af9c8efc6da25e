#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace tolvane {

// The largest answer body Send takes in (64 MiB); the service's answers are a few hundred KB.
inline constexpr std::size_t kTamanhoMaximoResposta = std::size_t{64} << 20;

// One HTTPS request in the manner of the Windows HTTP request object: open a GET of a URL, choose
// the client certificate, set headers, send (blocking until the whole answer is in), then read
// the status and the body. Use a new object for every request.
//
// Linux: libcurl with OpenSSL; peer and host verification always on, TLS 1.2 or newer, https
// only, redirects followed on the same host only (at most 10), connect time-out 60 s, and the
// transfer gives up when less than one byte has moved in 30 s. The environment variable
// TOLVANE_CLASSTRIB_CA may name a PEM file of extra certification authorities, trusted besides the
// system's (for an HTTPS proxy too). A proxy comes
// from libcurl's environment variables: https_proxy or HTTPS_PROXY, else all_proxy or ALL_PROXY,
// with the exceptions of no_proxy or NO_PROXY; the client certificate goes to the service only,
// never to a proxy.
//
// Windows: the WinHTTP C API that the request object wraps (winhttp.dll and crypt32.dll loaded
// from the system folder on the first request), TLS 1.2 or newer (on Windows 7 SP1 only with
// Microsoft's update KB3140245: without it Send fails and says so), with the system's proxy setting
// (WINHTTP_ACCESS_TYPE_DEFAULT_PROXY), the system's certification authorities (the certificate
// stores), the object's time-outs (resolve none, connect 60 s, send and receive 30 s each) and
// its schemes (http and https); redirects followed on the same server only (at most 10), one from
// https to http refused as the object refuses it (ERROR_WINHTTP_REDIRECT_FAILED). Failure texts are
// winhttp.dll's for the code, trimmed, or Windows's words for the common codes where the system
// has none (Wine).
class RequisicaoHttp {
 public:
  RequisicaoHttp();
  ~RequisicaoHttp();
  RequisicaoHttp(const RequisicaoHttp&) = delete;
  RequisicaoHttp& operator=(const RequisicaoHttp&) = delete;

  // Prepares a GET of AUrl and forgets any earlier answer. Contacts nothing.
  void Open(const std::string& AUrl);

  // The client certificate: "CURRENT_USER\MY\<subject text>" (the location and the store may be
  // left out). The certificate is looked up in the personal store when Send runs: the first one,
  // in the store's order, that has a private key and whose subject contains the text, letter case
  // ignored (an empty text takes the first). When none matches, a server that asks for a client
  // certificate makes Send fail with "A certificate is required to complete client
  // authentication" before the request goes out; a server that does not ask gets the request.
  void SetClientCertificate(const std::string& ASeletor);

  // Adds a request header (a second call with the same name replaces the value).
  void SetRequestHeader(const std::string& ANome, const std::string& AValor);

  // Sends the request and waits for the whole answer. A transport failure (name resolution,
  // connection, TLS, client certificate, time-out) raises Erro("EOleException", <the transport's
  // text>), and so does a body larger than kTamanhoMaximoResposta ("A resposta do servidor
  // ultrapassa o limite de 64 MiB"); a personal store that cannot be read raises its "EOSError".
  void Send();

  // The HTTP status of the answer. Raises Erro("EOleException", ...) before a successful Send.
  int Status() const;

  // The answer's body as UTF-8 text, decoded by the character set its Content-Type names, else as
  // UTF-8 (TextoResposta, platform/texto_resposta.h): each invalid sequence becomes U+FFFD, NUL
  // characters are kept. Raises Erro("EOleException", ...) before a successful Send.
  const std::string& ResponseText() const;

 private:
  struct Implementacao;
  std::unique_ptr<Implementacao> FImpl;
};

}  // namespace tolvane
