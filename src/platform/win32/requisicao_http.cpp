#include "platform/requisicao_http.h"

#include "core/erro.h"

namespace tolvane {

struct RequisicaoHttp::Implementacao {};

RequisicaoHttp::RequisicaoHttp() : FImpl(std::make_unique<Implementacao>()) {}
RequisicaoHttp::~RequisicaoHttp() = default;
void RequisicaoHttp::Open(const std::string&) { throw ErroNaoDisponivel("RequisicaoHttp"); }
void RequisicaoHttp::SetClientCertificate(const std::string&) {
  throw ErroNaoDisponivel("RequisicaoHttp");
}
void RequisicaoHttp::SetRequestHeader(const std::string&, const std::string&) {
  throw ErroNaoDisponivel("RequisicaoHttp");
}
void RequisicaoHttp::Send() { throw ErroNaoDisponivel("RequisicaoHttp"); }
int RequisicaoHttp::Status() const { throw ErroNaoDisponivel("RequisicaoHttp"); }
const std::string& RequisicaoHttp::ResponseText() const {
  throw ErroNaoDisponivel("RequisicaoHttp");
}

}  // namespace tolvane
