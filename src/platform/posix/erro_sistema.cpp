#include "platform/erro_sistema.h"

#include <cstring>

namespace tolvane {

std::string TextoErroSistema(int ACodigo) { return TextoSistemaAparado(std::strerror(ACodigo)); }

Erro ErroSistemaOperacional(int ACodigo) {
  return ErroSistemaOperacional(ACodigo, TextoErroSistema(ACodigo));
}

}  // namespace tolvane
