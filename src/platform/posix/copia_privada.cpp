#include "platform/copia_privada.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "core/erro.h"

namespace tolvane {

namespace fs = std::filesystem;

std::string CopiarParaPastaPrivada(const std::string& AArquivo) {
  std::error_code ec;
  fs::path temporaria = fs::temp_directory_path(ec);
  if (ec) temporaria = "/tmp";
  std::string modelo = (temporaria / "tolvane-XXXXXX").string();
  if (!::mkdtemp(modelo.data()))
    throw ErroSistemaComMensagem("Não foi possível criar uma pasta em " + temporaria.string() +
                                 ": " + std::generic_category().message(errno) + ".");
  const fs::path origem(AArquivo);
  const fs::path copia = fs::path(modelo) / origem.filename();
  // copy_file keeps neither the time nor the mode; both are set as the contract says.
  const bool copiado = fs::copy_file(origem, copia, fs::copy_options::none, ec);
  const fs::file_time_type hora = copiado ? fs::last_write_time(origem, ec) : fs::file_time_type();
  if (copiado && !ec) fs::last_write_time(copia, hora, ec);
  if (copiado && !ec) fs::permissions(copia, fs::perms::owner_read | fs::perms::owner_exec, ec);
  if (!copiado || ec) {
    const std::string causa = ec.message();
    fs::remove_all(modelo, ec);
    throw ErroSistemaComMensagem("Não foi possível copiar o arquivo " + AArquivo + " para " +
                                 modelo + ": " + causa + ".");
  }
  return copia.string();
}

}  // namespace tolvane
