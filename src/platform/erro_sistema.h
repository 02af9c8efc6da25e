#pragma once

#include <string>

#include "core/erro.h"

namespace tolvane {

// The system's text for an error code (Linux: an errno value; Windows: a GetLastError or
// HRESULT value), trimmed as error messages show it (TextoSistemaAparado).
std::string TextoErroSistema(int ACodigo);

// The operating-system error for a code: ErroSistemaOperacional(ACodigo, TextoErroSistema(...)).
Erro ErroSistemaOperacional(int ACodigo);

}  // namespace tolvane
