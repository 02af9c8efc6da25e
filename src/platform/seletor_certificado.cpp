#include "platform/seletor_certificado.h"

#include <algorithm>

#include "core/erro.h"
#include "core/texto.h"
#include "platform/caixa_letras.h"

namespace tolvane {

namespace {

// id-kp-clientAuth and anyExtendedKeyUsage (RFC 5280, 4.2.1.12).
constexpr std::string_view kUsoAutenticacaoCliente = "1.3.6.1.5.5.7.3.2";
constexpr std::string_view kUsoQualquer = "2.5.29.37.0";

}  // namespace

std::string TextoAssuntoSeletor(const std::string& ASeletor) {
  const auto primeira = ASeletor.find('\\');
  if (primeira == std::string::npos) return ASeletor;
  const auto segunda = ASeletor.find('\\', primeira + 1);
  const std::string local = ASeletor.substr(0, primeira);
  const std::string repositorio =
      segunda == std::string::npos ? "MY" : ASeletor.substr(primeira + 1, segunda - primeira - 1);
  const std::string repositorioMinusculo = MinusculasAscii(repositorio);
  if (MinusculasAscii(local) != "current_user" ||
      (repositorioMinusculo != "my" && repositorioMinusculo != "personal"))
    throw ErroOle("Repositório de certificados não disponível: " + local + "\\" + repositorio);
  return ASeletor.substr((segunda == std::string::npos ? primeira : segunda) + 1);
}

bool CertificadoCorresponde(std::string_view AAssunto, std::string_view ANomeSimples,
                            std::string_view ATexto) {
  if (ATexto.empty()) return true;
  const std::u32string parte = MinusculasUnicode(ATexto);
  return MinusculasUnicode(AAssunto).find(parte) != std::u32string::npos ||
         MinusculasUnicode(ANomeSimples).find(parte) != std::u32string::npos;
}

bool CandidatoPreferido(const CandidatoCertificado& ACandidato) {
  if (!ACandidato.ValidoHoje) return false;
  if (!ACandidato.UsosEstendidos) return true;
  return std::ranges::any_of(*ACandidato.UsosEstendidos, [](const std::string& AUso) {
    return AUso == kUsoAutenticacaoCliente || AUso == kUsoQualquer;
  });
}

std::optional<std::size_t> EscolherCertificado(std::span<const CandidatoCertificado> ACandidatos) {
  if (ACandidatos.empty()) return std::nullopt;
  const auto preferido = std::ranges::find_if(ACandidatos, CandidatoPreferido);
  return preferido == ACandidatos.end() ? 0
                                        : static_cast<std::size_t>(preferido - ACandidatos.begin());
}

}  // namespace tolvane
