#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tolvane {

// The system's part of the HTTP request object (platform/requisicao_http.h): one HTTPS GET, sent
// and waited for. The object's order of calls, its errors and the body's text are portable and
// live in platform/requisicao_http.cpp; each system gives this one function.

struct PedidoHttp {
  std::string Url;
  std::vector<std::pair<std::string, std::string>> Cabecalhos;  // names unique, in order
  // The selector's subject text (TextoAssuntoSeletor) when a client certificate was chosen;
  // none when the request carries no client certificate.
  std::optional<std::string> TextoAssunto;
};

struct RespostaHttp {
  int Status = 0;
  std::string Corpo;  // the body's bytes as they came, at most kTamanhoMaximoResposta
};

// Sends the GET and waits for the whole answer, with the object's time-outs and its rules for
// the client certificate (see RequisicaoHttp::SetClientCertificate and Send). A transport failure
// raises ErroOle with the transport's text, trimmed as system texts are; a personal store that
// cannot be read raises its "EOSError".
RespostaHttp EnviarHttp(const PedidoHttp& APedido);

}  // namespace tolvane
