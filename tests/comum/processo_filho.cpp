#include "comum/processo_filho.h"

#include <linux/capability.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <stdexcept>

#include "core/erro.h"

namespace tolvane::teste {

std::string NoProcessoFilho(const std::function<void()>& AAcao) {
  int canal[2];
  if (::pipe(canal) != 0) return "the child process could not be started: no pipe";
  const pid_t filho = ::fork();
  if (filho == 0) {
    ::close(canal[0]);
    std::string resultado = "ok";
    try {
      AAcao();
    } catch (const Erro& e) {
      resultado = e.Classe() + "|" + e.Mensagem();
    } catch (const std::exception& e) {
      resultado = std::string("std::exception|") + e.what();
    }
    const ssize_t escritos = ::write(canal[1], resultado.data(), resultado.size());
    // No destructors, no handlers of the test framework: they belong to the parent.
    ::_exit(escritos == static_cast<ssize_t>(resultado.size()) ? 0 : 1);
  }
  ::close(canal[1]);
  std::string resultado;
  char bloco[512];
  for (ssize_t n; (n = ::read(canal[0], bloco, sizeof bloco)) > 0;)
    resultado.append(bloco, static_cast<std::size_t>(n));
  ::close(canal[0]);
  int estado = 0;
  if (filho < 0) return "the child process could not be started";
  if (::waitpid(filho, &estado, 0) != filho || !WIFEXITED(estado) || WEXITSTATUS(estado) != 0)
    return "the child process did not end normally: " + resultado;
  return resultado;
}

void LimitarTamanhoArquivos(rlim_t ABytes) {
  const rlimit limite{ABytes, ABytes};
  if (std::signal(SIGXFSZ, SIG_IGN) == SIG_ERR || ::setrlimit(RLIMIT_FSIZE, &limite) != 0)
    throw std::runtime_error("the file size cannot be limited");
}

void ObedecerPermissoes() {
  if (::geteuid() != 0) return;
  __user_cap_header_struct cabecalho{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct dados[_LINUX_CAPABILITY_U32S_3]{};
  bool feito = ::syscall(SYS_capget, &cabecalho, dados) == 0;
  dados[0].effective &= ~(CAP_TO_MASK(CAP_DAC_OVERRIDE) | CAP_TO_MASK(CAP_DAC_READ_SEARCH));
  feito = feito && ::syscall(SYS_capset, &cabecalho, dados) == 0;
  if (!feito) throw std::runtime_error("CAP_DAC_OVERRIDE cannot be dropped");
}

}  // namespace tolvane::teste
