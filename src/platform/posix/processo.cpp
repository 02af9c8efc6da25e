#include "platform/processo.h"

#include <spawn.h>

#include <cstring>

extern char** environ;

namespace tolvane {

std::string IniciarPrograma(const std::string& APrograma,
                            const std::vector<std::string>& AArgumentos) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(APrograma.c_str()));
  for (const auto& a : AArgumentos) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);

  posix_spawnattr_t atributos;
  posix_spawnattr_init(&atributos);
  posix_spawnattr_setflags(&atributos, POSIX_SPAWN_SETSID);
  pid_t pid = 0;
  // glibc reports a failed exec (missing file, no execute permission) as the result.
  const int rc = posix_spawn(&pid, APrograma.c_str(), nullptr, &atributos, argv.data(), environ);
  posix_spawnattr_destroy(&atributos);
  return rc == 0 ? std::string() : std::string(std::strerror(rc));
}

}  // namespace tolvane
