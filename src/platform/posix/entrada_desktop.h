#pragma once

#include <string>
#include <string_view>

namespace tolvane {

// Quoting of a freedesktop launcher's values.

// A value of the desktop-entry string types: backslash, newline, tab and carriage return
// escaped, a leading blank written as "\s". The result holds no line break.
std::string ValorEntrada(std::string_view ATexto);

// The program as one argument of the Exec key, before the string escapes of ValorEntrada: always
// in double quotes, with '"', '`', '$' and '\' escaped by a backslash and '%' doubled (no field
// code), so that the launcher starts exactly that file and no shell reads the name.
std::string ArgumentoExec(std::string_view APrograma);

}  // namespace tolvane
