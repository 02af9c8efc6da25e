#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tolvane {

// The system's part of the HTTP request object (platform/requisicao_http.h): one HTTPS GET, sent
// and waited for. The object's order of calls, its errors and the body's text are portable and
// live in platform/requisicao_http.cpp; each system gives this one function.

// The transport's own failure texts, the same on every system: an answer beyond
// kTamanhoMaximoResposta, and a server that asked for a client certificate when the store had none
// to give (Windows's words for that failure, where its system has no text of its own).
inline constexpr const char* kTextoRespostaGrandeDemais =
    "A resposta do servidor ultrapassa o limite de 64 MiB";
inline constexpr const char* kTextoCertificadoNecessario =
    "A certificate is required to complete client authentication";

struct PedidoHttp {
  std::string Url;
  std::vector<std::pair<std::string, std::string>> Cabecalhos;  // names unique, in order
  // The selector's subject text (TextoAssuntoSeletor) when a client certificate was chosen;
  // none when the request carries no client certificate.
  std::optional<std::string> TextoAssunto;
};

struct RespostaHttp {
  int Status = 0;
  std::string Corpo;         // the body's bytes as they came, at most kTamanhoMaximoResposta
  std::string TipoConteudo;  // the Content-Type header's value; empty when there is none
};

// Sends the GET and waits for the whole answer, with the object's time-outs and its rules for
// the client certificate (see RequisicaoHttp::SetClientCertificate and Send). A transport failure
// raises ErroOle with the transport's text, trimmed as system texts are; a personal store that
// cannot be read raises its "EOSError".
RespostaHttp EnviarHttp(const PedidoHttp& APedido);

}  // namespace tolvane
