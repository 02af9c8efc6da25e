#include "platform/posix/entrada_desktop.h"

namespace tolvane {

std::string ValorEntrada(std::string_view ATexto) {
  std::string r;
  for (std::size_t i = 0; i < ATexto.size(); ++i) {
    const char c = ATexto[i];
    if (c == '\\')
      r += "\\\\";
    else if (c == '\n')
      r += "\\n";
    else if (c == '\t')
      r += "\\t";
    else if (c == '\r')
      r += "\\r";
    else if (c == ' ' && i == 0)
      r += "\\s";
    else
      r += c;
  }
  return r;
}

std::string ArgumentoExec(std::string_view APrograma) {
  std::string r = "\"";
  for (char c : APrograma) {
    if (c == '"' || c == '`' || c == '$' || c == '\\')
      r += '\\';
    else if (c == '%')
      r += '%';
    r += c;
  }
  return r + "\"";
}

}  // namespace tolvane
