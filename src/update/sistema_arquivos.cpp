#include "update/sistema_arquivos.h"

#include <filesystem>

#include "core/caminho.h"

namespace tolvane {

namespace fs = std::filesystem;

bool ExisteArquivo(const std::string& ACaminho) {
  std::error_code ec;
  const auto estado = fs::status(CaminhoDe(ACaminho), ec);
  return !ec && fs::exists(estado) && !fs::is_directory(estado);
}

bool ExisteArquivoComum(const std::string& ACaminho) {
  std::error_code ec;
  return fs::is_regular_file(CaminhoDe(ACaminho), ec);
}

bool ExistePasta(const std::string& ACaminho) {
  std::error_code ec;
  return fs::is_directory(CaminhoDe(ACaminho), ec);
}

void CriarPasta(const std::string& ACaminho) {
  std::error_code ec;
  fs::create_directory(CaminhoDe(ACaminho), ec);
}

void ApagarArquivo(const std::string& ACaminho) {
  std::error_code ec;
  const fs::path caminho = CaminhoDe(ACaminho);
  if (fs::is_directory(fs::symlink_status(caminho, ec))) return;
  fs::remove(caminho, ec);
}

void CopiarArquivoNovo(const std::string& AOrigem, const std::string& ADestino) {
  std::error_code ec;
  const fs::path origem = CaminhoDe(AOrigem);
  const fs::path destino = CaminhoDe(ADestino);
  if (!fs::copy_file(origem, destino, fs::copy_options::none, ec) || ec) return;
  const auto data = fs::last_write_time(origem, ec);
  if (!ec) fs::last_write_time(destino, data, ec);
}

}  // namespace tolvane
