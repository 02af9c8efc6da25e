#include "platform/arquivos.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <ctime>
#include <filesystem>

#include "core/caminho.h"

namespace tolvane {

std::optional<DataHora> DataModificacaoArquivo(const std::string& ACaminho) {
  struct stat st {};
  if (stat(ACaminho.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return std::nullopt;
  std::tm local{};
  if (!localtime_r(&st.st_mtim.tv_sec, &local)) return std::nullopt;
  const DataHora v{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                   local.tm_hour,        local.tm_min,     local.tm_sec};
  return ComoDataDos(v);
}

std::string CaminhoExecutavel() {
  std::error_code ec;
  auto caminho = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : TextoDe(caminho);
}

bool MoverSemSubstituir(const std::string& AOrigem, const std::string& ADestino) {
  if (::renameat2(AT_FDCWD, AOrigem.c_str(), AT_FDCWD, ADestino.c_str(), RENAME_NOREPLACE) == 0)
    return true;
  // File systems without the no-replace rename (NFS, some network mounts) still refuse a hard
  // link over an existing name.
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return false;
  if (::link(AOrigem.c_str(), ADestino.c_str()) != 0) return false;
  ::unlink(AOrigem.c_str());
  return true;
}

}  // namespace tolvane
