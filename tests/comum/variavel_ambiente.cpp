#include "comum/variavel_ambiente.h"

#include <stdlib.h>

namespace tolvane::teste {

namespace {

void Definir(const std::string& ANome, const std::optional<std::string>& AValor) {
  if (AValor)
    setenv(ANome.c_str(), AValor->c_str(), 1);
  else
    unsetenv(ANome.c_str());
}

}  // namespace

VariavelAmbiente::VariavelAmbiente(std::string ANome, const std::optional<std::string>& AValor)
    : FNome(std::move(ANome)) {
  if (const char* anterior = getenv(FNome.c_str())) FAnterior = anterior;
  Definir(FNome, AValor);
}

VariavelAmbiente::~VariavelAmbiente() { Definir(FNome, FAnterior); }

}  // namespace tolvane::teste
