#include "update/sistema_arquivos.h"

#include <filesystem>
#include <random>

#include "core/caminho.h"
#include "platform/arquivos.h"

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

// The copy is written under a name of its own in the target folder and takes the target's name
// only when whole: since files there are never replaced, a copy that failed half way (a full
// disk) would stay there for good, and other workstations could read a half-written file.
void CopiarArquivoNovo(const std::string& AOrigem, const std::string& ADestino) {
  std::error_code ec;
  const fs::path origem = CaminhoDe(AOrigem);
  const fs::path destino = CaminhoDe(ADestino);
  std::random_device aleatorio;
  fs::path temporario;
  for (int tentativa = 0;; ++tentativa) {
    temporario = destino;
    temporario.replace_filename("." + TextoDe(destino.filename()) + "." +
                                std::to_string(aleatorio()) + ".tmp");
    if (fs::copy_file(origem, temporario, fs::copy_options::none, ec) && !ec) break;
    if (ec != std::errc::file_exists) {
      fs::remove(temporario, ec);
      return;
    }
    if (tentativa == 9) return;
  }
  const auto data = fs::last_write_time(origem, ec);
  if (!ec) fs::last_write_time(temporario, data, ec);
  if (ec || !MoverSemSubstituir(TextoDe(temporario), ADestino)) fs::remove(temporario, ec);
}

}  // namespace tolvane
