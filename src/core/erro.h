#pragma once

#include <stdexcept>
#include <string>

namespace tolvane {

// The one error type of the system: the kind name of the failure ("EIBInterBaseError",
// "EOSError", "EConvertError", ...) and its message text, both as the user will see them.
class Erro : public std::runtime_error {
 public:
  Erro(std::string AClasse, const std::string& AMensagem)
      : std::runtime_error(AMensagem), FClasse(std::move(AClasse)) {}

  // Kind name, shown by messages that name the failure's kind ("<kind>: <text>").
  const std::string& Classe() const noexcept { return FClasse; }
  // Message text, UTF-8.
  std::string Mensagem() const { return what(); }

 private:
  std::string FClasse;
};

}  // namespace tolvane
