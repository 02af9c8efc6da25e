#include "core/erro.h"

namespace tolvane {

std::string TextoSistemaAparado(std::string_view ATexto) {
  while (!ATexto.empty() &&
         (static_cast<unsigned char>(ATexto.back()) <= 32 || ATexto.back() == '.'))
    ATexto.remove_suffix(1);
  return std::string(ATexto);
}

Erro ErroSistemaOperacional(int ACodigo, std::string_view ATextoSistema) {
  if (ACodigo == 0) return Erro("EOSError", "A call to an OS function failed");
  return Erro("EOSError", "System Error.  Code: " + std::to_string(ACodigo) + ".\r\n" +
                              TextoSistemaAparado(ATextoSistema));
}

Erro ErroSistemaComMensagem(const std::string& AMensagem) { return Erro("EOSError", AMensagem); }

Erro ErroCriacaoArquivo(std::string_view ACaminho, std::string_view ATextoSistema) {
  return Erro("EFCreateError", "Cannot create file \"" + std::string(ACaminho) + "\". " +
                                   TextoSistemaAparado(ATextoSistema));
}

Erro ErroEscritaFluxo() { return Erro("EWriteError", "Stream write error"); }

Erro ErroConversao(const std::string& AMensagem) { return Erro("EConvertError", AMensagem); }

Erro ErroCodificacaoData() { return ErroConversao("Invalid argument to date encode"); }

Erro ErroClienteInterBase(const std::string& AMensagem) {
  return Erro("EIBClientError", AMensagem);
}

Erro ErroOle(const std::string& AMensagem) { return Erro("EOleException", AMensagem); }

Erro ErroOleSistema(const std::string& AMensagem) { return Erro("EOleSysError", AMensagem); }

Erro ErroInterfaceNaoSuportada() { return Erro("EIntfCastError", "Interface not supported"); }

Erro ErroGeral(const std::string& AMensagem) { return Erro("Exception", AMensagem); }

Erro ErroParametro(const std::string& AMensagem) { return Erro("EParametro", AMensagem); }

Erro ErroNaoDisponivel(std::string_view AServico) {
  return Erro("Exception", std::string(AServico) + ": não disponível neste sistema");
}

}  // namespace tolvane
