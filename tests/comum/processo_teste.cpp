#include "comum/processo_teste.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstring>
#include <stdexcept>

extern char** environ;

namespace tolvane::teste {

int Executar(const std::string& APrograma, const std::vector<std::string>& AArgumentos,
             const std::string& ASaida, const std::string& AErros) {
  std::vector<char*> argv{const_cast<char*>(APrograma.c_str())};
  for (const auto& a : AArgumentos) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t acoes;
  posix_spawn_file_actions_init(&acoes);
  posix_spawn_file_actions_addopen(&acoes, 1, ASaida.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (AErros.empty())
    posix_spawn_file_actions_adddup2(&acoes, 1, 2);
  else
    posix_spawn_file_actions_addopen(&acoes, 2, AErros.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t pid = 0;
  const int rc = posix_spawnp(&pid, APrograma.c_str(), &acoes, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&acoes);
  if (rc != 0) throw std::runtime_error("cannot start " + APrograma + ": " + std::strerror(rc));
  int estado = 0;
  if (waitpid(pid, &estado, 0) != pid || !WIFEXITED(estado)) return -1;
  return WEXITSTATUS(estado);
}

}  // namespace tolvane::teste
