#include "platform/posix/erro_sistema.h"

#include <cstring>

namespace tolvane {

std::string TextoErroSistema(int ACodigo) {
  std::string texto = std::strerror(ACodigo);
  while (!texto.empty() && (static_cast<unsigned char>(texto.back()) <= 32 || texto.back() == '.'))
    texto.pop_back();
  return texto;
}

Erro ErroSistemaOperacional(int ACodigo) {
  if (ACodigo == 0) return Erro("EOSError", "A call to an OS function failed");
  return Erro("EOSError", "System Error.  Code: " + std::to_string(ACodigo) + ".\r\n" +
                              TextoErroSistema(ACodigo));
}

}  // namespace tolvane
