#include "comum/arquivos_teste.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace tolvane::teste {

PastaTemporaria::PastaTemporaria() {
  std::string modelo = (std::filesystem::temp_directory_path() / "tolvane-XXXXXX").string();
  if (!mkdtemp(modelo.data())) throw std::runtime_error("mkdtemp failed for " + modelo);
  FCaminho = modelo;
}

PastaTemporaria::~PastaTemporaria() {
  std::error_code ec;
  std::filesystem::remove_all(FCaminho, ec);
}

std::string PastaTemporaria::operator/(std::string_view ANome) const {
  return FCaminho + "/" + std::string(ANome);
}

void EscreverArquivo(const std::string& ACaminho, std::string_view ABytes) {
  std::ofstream arquivo(ACaminho, std::ios::binary | std::ios::trunc);
  arquivo.write(ABytes.data(), static_cast<std::streamsize>(ABytes.size()));
  if (!arquivo) throw std::runtime_error("could not write " + ACaminho);
}

}  // namespace tolvane::teste
