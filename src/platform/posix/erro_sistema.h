#pragma once

#include <string>

#include "core/erro.h"

namespace tolvane {

// The system's text for an errno value, without trailing blanks, control characters and periods.
std::string TextoErroSistema(int ACodigo);

// The operating-system error: Erro("EOSError", "System Error.  Code: <code>.\r\n<text>"), or
// "A call to an OS function failed" when the code is 0.
Erro ErroSistemaOperacional(int ACodigo);

}  // namespace tolvane
