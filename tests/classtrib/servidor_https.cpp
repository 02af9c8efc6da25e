#include "classtrib/servidor_https.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>
#include <vector>

#include "comum/arquivos_teste.h"

extern char** environ;

namespace tolvane::teste {

ServidorHttps::ServidorHttps(const std::string& APasta, const std::string& AModo,
                             const std::string& ATlsMaximo) {
  int entrada[2];
  int saida[2];
  if (pipe2(entrada, O_CLOEXEC) != 0 || pipe2(saida, O_CLOEXEC) != 0)
    throw std::runtime_error("pipe falhou");
  const std::string registro = APasta + "/servidor-" + AModo + "-tls" + ATlsMaximo + ".log";
  posix_spawn_file_actions_t acoes;
  posix_spawn_file_actions_init(&acoes);
  posix_spawn_file_actions_adddup2(&acoes, entrada[0], 0);
  posix_spawn_file_actions_adddup2(&acoes, saida[1], 1);
  posix_spawn_file_actions_addopen(&acoes, 2, registro.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<std::string> argumentos = {"python3", TOLVANE_SERVIDOR_HTTPS, "--pasta", APasta};
  argumentos.insert(argumentos.end(), {"--modo", AModo, "--tls-maximo", ATlsMaximo});
  std::vector<char*> argv;
  for (auto& a : argumentos) argv.push_back(a.data());
  argv.push_back(nullptr);
  const int rc = posix_spawn(&FPid, TOLVANE_PYTHON, &acoes, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&acoes);
  close(entrada[0]);
  close(saida[1]);
  FEntrada = entrada[1];
  if (rc != 0) {
    close(saida[0]);
    close(FEntrada);
    throw std::runtime_error(std::string(TOLVANE_PYTHON) + " não pôde ser iniciado");
  }

  // The first line is "PORTA <n>"; generating the key material may take a few seconds.
  std::string linha;
  pollfd espera{saida[0], POLLIN, 0};
  while (linha.find('\n') == std::string::npos && poll(&espera, 1, 60000) > 0) {
    char bloco[64];
    const ssize_t n = read(saida[0], bloco, sizeof bloco);
    if (n <= 0) break;
    linha.append(bloco, static_cast<std::size_t>(n));
  }
  close(saida[0]);
  if (linha.rfind("PORTA ", 0) == 0) FPorta = std::stoi(linha.substr(6));
  if (FPorta <= 0) {
    Parar();
    throw std::runtime_error("o servidor HTTPS de teste (" + AModo +
                             ") não iniciou: " + LerArquivo(registro));
  }
}

ServidorHttps::~ServidorHttps() { Parar(); }

void ServidorHttps::Parar() {
  if (FEntrada >= 0) close(FEntrada);
  FEntrada = -1;
  if (FPid > 0) {
    kill(FPid, SIGTERM);
    waitpid(FPid, nullptr, 0);
  }
  FPid = -1;
}

std::string ServidorHttps::BaseUrl(const std::string& ACenario) const {
  return "https://127.0.0.1:" + std::to_string(FPorta) + "/" + ACenario + "/api/v1/consultas";
}

void DefinirResposta(const std::string& APasta, const std::string& ACenario, int AStatus,
                     const std::string& ACorpo) {
  EscreverArquivo(APasta + "/respostas/" + ACenario + ".status", std::to_string(AStatus));
  EscreverArquivo(APasta + "/respostas/" + ACenario + ".corpo", ACorpo);
}

}  // namespace tolvane::teste
