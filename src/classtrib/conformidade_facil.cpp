#include "classtrib/conformidade_facil.h"

#include <exception>
#include <optional>

#include "core/erro.h"
#include "core/texto.h"
#include "platform/processo.h"
#include "platform/requisicao_http.h"

namespace tolvane {

namespace {

constexpr std::string_view kPrefixoSeletor = "CURRENT_USER\\MY\\";
// Every failure of the request itself (transport, certificate, answer too large) reaches the user
// behind this one prefix.
constexpr std::string_view kPrefixoErroConsulta = "Erro ao consultar API Conformidade Fácil: ";

// Through the platform's reading of the environment: on Windows it is the Unicode block, where
// std::getenv would give the ANSI code page's rendering.
std::string BaseUrl() {
  const std::optional<std::string> url = LerVariavelAmbiente("TOLVANE_CLASSTRIB_URL");
  return url && !url->empty() ? *url : std::string(kBaseUrlConformidadeFacil);
}

// A name with "&", "#", "%", blanks or accents would otherwise break or change the request.
std::string CodificarValorConsulta(std::string_view AValor) {
  constexpr char kHexadecimal[] = "0123456789ABCDEF";
  std::string r;
  r.reserve(AValor.size());
  for (const char c : AValor) {
    const auto b = static_cast<unsigned char>(c);
    const bool livre = (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') ||
                       b == '-' || b == '.' || b == '_' || b == '~';
    if (livre) {
      r += c;
    } else {
      r += '%';
      r += kHexadecimal[b >> 4];
      r += kHexadecimal[b & 0xF];
    }
  }
  return r;
}

}  // namespace

TConformidadeFacil::TConformidadeFacil(const std::string& ANomeCertificado)
    : FCertificado(std::string(kPrefixoSeletor) + ANomeCertificado), FBaseUrl(BaseUrl()) {}

std::string TConformidadeFacil::ConsultarClassTrib() const { return ConsultarClassTribPorCst(""); }

std::string TConformidadeFacil::ConsultarClassTribPorCst(const std::string& ACst) const {
  return Consultar(MontarUrl(ACst, ""));
}

std::string TConformidadeFacil::ConsultarClassTribPorNomeCst(const std::string& ANomeCst) const {
  return Consultar(MontarUrl("", ANomeCst));
}

std::string TConformidadeFacil::MontarUrl(const std::string& ACst,
                                          const std::string& ANomeCst) const {
  std::string url = FBaseUrl + "/classTrib";
  if (!EhBranco(ACst))
    url += "?Cst=" + CodificarValorConsulta(ACst);
  else if (!EhBranco(ANomeCst))
    url += "?NomeCst=" + CodificarValorConsulta(ANomeCst);
  return url;
}

std::string TConformidadeFacil::Consultar(const std::string& AUrl) const {
  RequisicaoHttp requisicao;
  requisicao.Open(AUrl);
  requisicao.SetClientCertificate(FCertificado);
  requisicao.SetRequestHeader("Accept", "application/json");
  try {
    requisicao.Send();
  } catch (const std::exception& e) {
    throw ErroGeral(std::string(kPrefixoErroConsulta) + e.what());
  }
  if (requisicao.Status() != 200)
    throw ErroGeral("Erro HTTP " + std::to_string(requisicao.Status()) + ": " +
                    requisicao.ResponseText());
  return requisicao.ResponseText();
}

}  // namespace tolvane
