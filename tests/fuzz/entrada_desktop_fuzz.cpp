// The launcher's Exec value for any program path: one line, and read back by the desktop-entry
// rules (string escapes, then the quoting of one argument) it is exactly that path again.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/posix/entrada_desktop.h"
#include "verificar.h"

namespace {

using tolvane::fuzz::Verificar;

// The string escapes of a desktop-entry value undone; no value for an unknown escape.
std::optional<std::string> DesfazerValor(std::string_view AValor) {
  std::string r;
  for (std::size_t i = 0; i < AValor.size(); ++i) {
    if (AValor[i] != '\\') {
      r += AValor[i];
      continue;
    }
    if (++i == AValor.size()) return std::nullopt;
    switch (AValor[i]) {
      case 's':
        r += ' ';
        break;
      case 'n':
        r += '\n';
        break;
      case 't':
        r += '\t';
        break;
      case 'r':
        r += '\r';
        break;
      case '\\':
        r += '\\';
        break;
      default:
        return std::nullopt;
    }
  }
  return r;
}

// The one argument of an Exec line, as a launcher reads it: a quoted argument where a backslash
// escapes '"', '`', '$' and '\', and "%%" is a percent sign. No value when the line holds
// anything else (a second argument, a field code, an unquoted reserved character).
std::optional<std::string> LerArgumento(std::string_view AExec) {
  if (AExec.size() < 2 || AExec.front() != '"' || AExec.back() != '"') return std::nullopt;
  std::string r;
  for (std::size_t i = 1; i + 1 < AExec.size(); ++i) {
    const char c = AExec[i];
    if (c == '"') return std::nullopt;  // the quotes would end here
    if (c == '\\') {
      if (i + 2 >= AExec.size()) return std::nullopt;
      const char seguinte = AExec[++i];
      if (seguinte != '"' && seguinte != '`' && seguinte != '$' && seguinte != '\\')
        return std::nullopt;
      r += seguinte;
    } else if (c == '%') {
      if (i + 2 >= AExec.size() || AExec[++i] != '%') return std::nullopt;
      r += '%';
    } else if (c == '`' || c == '$') {
      return std::nullopt;
    } else {
      r += c;
    }
  }
  return r;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* AData, std::size_t ATamanho) {
  const std::string programa(reinterpret_cast<const char*>(AData), ATamanho);
  const std::string exec = tolvane::ValorEntrada(tolvane::ArgumentoExec(programa));
  Verificar(exec.find_first_of("\r\n") == std::string::npos, "line break in the Exec value");
  const auto valor = DesfazerValor(exec);
  Verificar(valor.has_value(), "unknown string escape");
  const auto argumento = LerArgumento(*valor);
  Verificar(argumento.has_value(), "Exec value is not one quoted argument");
  Verificar(*argumento == programa, "Exec names another program");

  // A name or comment: one line, and the escapes undone give the text back.
  const std::string nome = tolvane::ValorEntrada(programa);
  Verificar(nome.find_first_of("\r\n") == std::string::npos, "line break in a value");
  const auto lido = DesfazerValor(nome);
  Verificar(lido.has_value() && *lido == programa, "value reads back differently");
  return 0;
}
