#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tolvane::teste {

// A new folder under the system's temporary folder, removed with everything in it at the end.
class PastaTemporaria {
 public:
  PastaTemporaria();
  ~PastaTemporaria();
  PastaTemporaria(const PastaTemporaria&) = delete;
  PastaTemporaria& operator=(const PastaTemporaria&) = delete;

  const std::string& Caminho() const { return FCaminho; }
  std::string operator/(const std::string& ANome) const { return FCaminho + "/" + ANome; }

 private:
  std::string FCaminho;
};

// Sets (or, with no value, removes) an environment variable for the scope; restores it after.
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

std::string LerArquivo(const std::string& ACaminho);
void GravarArquivo(const std::string& ACaminho, const std::string& AConteudo);
// The names of the folder's entries, sorted.
std::vector<std::string> EntradasDaPasta(const std::string& APasta);

}  // namespace tolvane::teste
