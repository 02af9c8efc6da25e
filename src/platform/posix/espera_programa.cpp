#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <thread>

#include "platform/espera_programa.h"
#include "platform/posix/espera_pai.h"

namespace tolvane {

bool EsperarFimDoPai(pid_t APai, std::chrono::milliseconds ALimite) {
  using namespace std::chrono;
  const auto limite = steady_clock::now() + ALimite;
  while (getppid() == APai) {
    const auto agora = steady_clock::now();
    if (agora >= limite) return false;
    std::this_thread::sleep_for(std::min<steady_clock::duration>(milliseconds(20), limite - agora));
  }
  return true;
}

std::optional<pid_t> PaiExecutando(const std::string& ACaminhoExecutavel) {
  const pid_t pai = getppid();
  struct stat programa {};
  struct stat arquivo {};
  if (stat(("/proc/" + std::to_string(pai) + "/exe").c_str(), &programa) != 0)
    return pai == 1 ? std::nullopt : std::optional<pid_t>(pai);
  if (stat(ACaminhoExecutavel.c_str(), &arquivo) != 0) return std::nullopt;
  if (programa.st_dev != arquivo.st_dev || programa.st_ino != arquivo.st_ino) return std::nullopt;
  return pai;
}

bool EsperarFimPrograma(const std::string& ACaminhoExecutavel, std::chrono::milliseconds ALimite) {
  const auto pai = PaiExecutando(ACaminhoExecutavel);
  return !pai || EsperarFimDoPai(*pai, ALimite);
}

}  // namespace tolvane
