#include "platform/processo.h"

#include <spawn.h>

#include <cstdlib>
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
  // Only the standard descriptors go to the new program. The database client keeps its files
  // open without close-on-exec: an inherited database file would carry the engine's lock into the
  // updater and on into the program it starts again, which then could not open the database.
  posix_spawn_file_actions_t acoes;
  posix_spawn_file_actions_init(&acoes);
  posix_spawn_file_actions_addclosefrom_np(&acoes, 3);
  pid_t pid = 0;
  // glibc reports a failed exec (missing file, no execute permission) as the result.
  const int rc = posix_spawn(&pid, APrograma.c_str(), &acoes, &atributos, argv.data(), environ);
  posix_spawn_file_actions_destroy(&acoes);
  posix_spawnattr_destroy(&atributos);
  return rc == 0 ? std::string() : std::string(std::strerror(rc));
}

std::vector<std::string> ArgumentosDoPrograma(int argc, char** argv) {
  return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
}

void DefinirVariavelAmbiente(const std::string& ANome, const std::string& AValor) {
  ::setenv(ANome.c_str(), AValor.c_str(), 1);
}

std::optional<std::string> LerVariavelAmbiente(const std::string& ANome) {
  const char* valor = std::getenv(ANome.c_str());
  if (!valor) return std::nullopt;
  return std::string(valor);
}

}  // namespace tolvane
