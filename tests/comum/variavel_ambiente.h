#pragma once

#include <optional>
#include <string>

namespace tolvane::teste {

// Sets an environment variable (or removes it, with no value) for the life of the object, then
// puts back what was there before.
class VariavelAmbiente {
 public:
  VariavelAmbiente(std::string ANome, const std::optional<std::string>& AValor);
  ~VariavelAmbiente();
  VariavelAmbiente(const VariavelAmbiente&) = delete;
  VariavelAmbiente& operator=(const VariavelAmbiente&) = delete;

 private:
  std::string FNome;
  std::optional<std::string> FAnterior;
};

}  // namespace tolvane::teste
