#include "platform/atalho.h"

#include "core/erro.h"
#include "platform/substituicao_arquivo.h"

namespace tolvane {

namespace {

// A value of the desktop-entry string types: backslash, newline, tab and carriage return
// escaped, a leading blank written as "\s".
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

// The program as one argument of the Exec key: always in double quotes, with '"', '`', '$' and
// '\' escaped by a backslash and '%' doubled (no field code); the string escapes of the value
// come on top of that, so a backslash in the path ends as four.
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

std::string ConteudoLancador(const std::string& ADestino, const std::string& ADescricao) {
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Version=1.0\n"
         "Name=" +
         ValorEntrada(ADescricao) + "\nComment=" + ValorEntrada(ADescricao) +
         "\nExec=" + ValorEntrada(ArgumentoExec(ADestino)) + "\nTerminal=false\n";
}

}  // namespace

std::string_view ExtensaoAtalho() { return ".desktop"; }

bool GravarAtalho(const std::string& AArquivo, const std::string& ADestino,
                  const std::string& ADescricao) {
  // Written whole and renamed over the old one: a desktop never shows a half-written launcher,
  // and an old one stays whole when the write fails.
  try {
    SubstituirArquivo(AArquivo, ConteudoLancador(ADestino, ADescricao), true);
    return true;
  } catch (const Erro&) {
    return false;
  }
}

}  // namespace tolvane
