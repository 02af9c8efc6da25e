#include "platform/requisicao_http.h"

#include <optional>
#include <utility>

#include "core/erro.h"
#include "core/texto.h"
#include "platform/seletor_certificado.h"
#include "platform/texto_resposta.h"
#include "platform/transporte_http.h"

// The Windows request object's order of calls and its errors, written once for every system; the
// transport that sends is the system's (platform/transporte_http.h).

namespace tolvane {

namespace {

constexpr const char* kSemOpen =
    "The operation cannot be carried out until the Open method has been called";
constexpr const char* kSemResposta =
    "The data necessary to complete this operation is not yet available";

}  // namespace

struct RequisicaoHttp::Implementacao {
  std::string Url;
  bool Aberta = false;
  std::optional<std::string> Seletor;
  std::vector<std::pair<std::string, std::string>> Cabecalhos;
  bool Respondida = false;
  int Status = 0;
  std::string Texto;
};

RequisicaoHttp::RequisicaoHttp() : FImpl(std::make_unique<Implementacao>()) {}

RequisicaoHttp::~RequisicaoHttp() = default;

void RequisicaoHttp::Open(const std::string& AUrl) {
  FImpl->Url = AUrl;
  FImpl->Aberta = true;
  FImpl->Respondida = false;
  FImpl->Status = 0;
  FImpl->Texto.clear();
}

void RequisicaoHttp::SetClientCertificate(const std::string& ASeletor) {
  FImpl->Seletor = ASeletor;
}

void RequisicaoHttp::SetRequestHeader(const std::string& ANome, const std::string& AValor) {
  for (auto& [nome, valor] : FImpl->Cabecalhos)
    if (IguaisSemCaixaAscii(nome, ANome)) {
      valor = AValor;
      return;
    }
  FImpl->Cabecalhos.emplace_back(ANome, AValor);
}

void RequisicaoHttp::Send() {
  Implementacao& r = *FImpl;
  if (!r.Aberta) throw ErroOle(kSemOpen);
  r.Respondida = false;
  r.Status = 0;
  r.Texto.clear();
  PedidoHttp pedido{r.Url, r.Cabecalhos, std::nullopt};
  if (r.Seletor) pedido.TextoAssunto = TextoAssuntoSeletor(*r.Seletor);
  RespostaHttp resposta = EnviarHttp(pedido);
  r.Status = resposta.Status;
  r.Texto = TextoResposta(std::move(resposta.Corpo), resposta.TipoConteudo);
  r.Respondida = true;
}

int RequisicaoHttp::Status() const {
  if (!FImpl->Respondida) throw ErroOle(kSemResposta);
  return FImpl->Status;
}

const std::string& RequisicaoHttp::ResponseText() const {
  if (!FImpl->Respondida) throw ErroOle(kSemResposta);
  return FImpl->Texto;
}

}  // namespace tolvane
