#pragma once

#include <sys/stat.h>

#include <filesystem>
#include <set>
#include <string>

namespace tolvane::teste {

// A fresh folder for one test, removed with everything in it (permissions restored first).
class PastaTemporaria {
 public:
  PastaTemporaria();
  ~PastaTemporaria();
  PastaTemporaria(const PastaTemporaria&) = delete;
  PastaTemporaria& operator=(const PastaTemporaria&) = delete;

  const std::string& Caminho() const { return FCaminho; }
  // Caminho() + "/" + ANome.
  std::string operator/(const std::string& ANome) const { return FCaminho + "/" + ANome; }

 private:
  std::string FCaminho;
};

// Writes the bytes, creating or truncating the file, and sets its permission bits.
void EscreverArquivo(const std::string& ACaminho, const std::string& AConteudo,
                     mode_t AModo = 0644);
// The whole file; fails the test (and returns "") when it cannot be read.
std::string LerArquivo(const std::string& ACaminho);
// The names in a folder, hidden ones included.
std::set<std::string> Listar(const std::string& APasta);
// lstat that fails the test when the path is missing.
struct stat Estado(const std::string& ACaminho);
// Sets both file times to the given second and nanosecond.
void DefinirTempo(const std::string& ACaminho, time_t ASegundos, long ANanossegundos);

}  // namespace tolvane::teste
