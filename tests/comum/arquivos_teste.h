#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/data_hora.h"

namespace tolvane::teste {

// A folder of its own under the system's temporary folder, removed with everything in it when
// the object goes; permissions a test took away are given back first, so that it can be. On
// Windows its name holds a blank and non-ASCII letters (see arquivos_teste.cpp).
class PastaTemporaria {
 public:
  PastaTemporaria();
  ~PastaTemporaria();
  PastaTemporaria(const PastaTemporaria&) = delete;
  PastaTemporaria& operator=(const PastaTemporaria&) = delete;

  const std::string& Caminho() const { return FCaminho; }
  // Caminho() + the system's separator + ANome.
  std::string operator/(std::string_view ANome) const;

 private:
  std::string FCaminho;
  const char* FSeparador = "/";
};

// Writes the bytes to the file, replacing it and making the folders it lacks; sets its
// permission bits when AModo is given. Throws when it cannot.
void EscreverArquivo(const std::string& ACaminho, std::string_view ABytes,
                     std::optional<std::filesystem::perms> AModo = std::nullopt);

// The whole file; throws when it cannot be read.
std::string LerArquivo(const std::string& ACaminho);

// The names of the folder's entries, hidden ones included, sorted.
std::vector<std::string> EntradasDaPasta(const std::string& APasta);

// Sets the file's access and modification times (a link's target's) to the second and
// nanosecond since the epoch; throws when it cannot.
void DefinirTempo(const std::string& ACaminho, time_t ASegundos, long ANanossegundos = 0);

// The same, to a local date and time.
void DefinirDataLocal(const std::string& ACaminho, const DataHora& AData);

}  // namespace tolvane::teste
