#pragma once

#include <string>
#include <string_view>

namespace tolvane::teste {

// A folder of its own under the system's temporary folder, removed with everything in it when
// the object goes.
class PastaTemporaria {
 public:
  PastaTemporaria();
  ~PastaTemporaria();
  PastaTemporaria(const PastaTemporaria&) = delete;
  PastaTemporaria& operator=(const PastaTemporaria&) = delete;

  const std::string& Caminho() const { return FCaminho; }
  // Caminho() + "/" + ANome.
  std::string operator/(std::string_view ANome) const;

 private:
  std::string FCaminho;
};

// Writes the bytes to the file, replacing it; throws when it cannot.
void EscreverArquivo(const std::string& ACaminho, std::string_view ABytes);

}  // namespace tolvane::teste
