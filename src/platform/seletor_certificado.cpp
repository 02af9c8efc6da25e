#include "platform/seletor_certificado.h"

#include "core/erro.h"
#include "platform/caixa_letras.h"

namespace tolvane {

namespace {

std::string MinusculasAscii(std::string ATexto) {
  for (char& c : ATexto)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return ATexto;
}

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

}  // namespace tolvane
