#include "falhas/disco_pequeno.h"

#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "core/erro.h"

namespace tolvane::teste {

namespace fs = std::filesystem;

DiscoPequeno::DiscoPequeno(unsigned long ABytes) : FBytes(ABytes) {
  std::string modelo = (fs::temp_directory_path() / "tolvane-disco-XXXXXX").string();
  if (!mkdtemp(modelo.data())) throw std::runtime_error("mkdtemp falhou");
  FCaminho = modelo;
  const std::string opcoes = "size=" + std::to_string(ABytes) + ",mode=0755";
  FMontado = mount("tmpfs", FCaminho.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, opcoes.c_str()) == 0;
}

DiscoPequeno::~DiscoPequeno() {
  if (FMontado) umount2(FCaminho.c_str(), MNT_DETACH);
  std::error_code ec;
  fs::remove_all(FCaminho, ec);
}

void DiscoPequeno::Encher(const std::string& ANome, unsigned long ALivres) const {
  if (!FMontado) return;  // the size limit of NoDisco is the whole disk
  std::ofstream arquivo(*this / ANome, std::ios::binary);
  const std::string bloco(512, 'e');
  for (;;) {
    const auto espaco = fs::space(FCaminho);
    if (espaco.available < ALivres + bloco.size()) break;
    arquivo.write(bloco.data(), static_cast<std::streamsize>(bloco.size()));
    arquivo.flush();
    if (!arquivo) break;
  }
}

std::string DiscoPequeno::NoDisco(const std::function<void()>& AAcao) const {
  int canal[2];
  if (pipe(canal) != 0) return "pipe falhou";
  const pid_t filho = fork();
  if (filho == 0) {
    close(canal[0]);
    std::string resultado = "ok";
    try {
      if (!FMontado) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limite{FBytes, FBytes};
        if (setrlimit(RLIMIT_FSIZE, &limite) != 0) throw std::runtime_error("setrlimit falhou");
      }
      AAcao();
    } catch (const Erro& e) {
      resultado = e.Classe() + "|" + e.Mensagem();
    } catch (const std::exception& e) {
      resultado = std::string("std::exception|") + e.what();
    }
    const ssize_t escritos = write(canal[1], resultado.data(), resultado.size());
    _exit(escritos == static_cast<ssize_t>(resultado.size()) ? 0 : 1);
  }
  close(canal[1]);
  std::string resultado;
  char bloco[512];
  for (ssize_t n; (n = read(canal[0], bloco, sizeof bloco)) > 0;)
    resultado.append(bloco, static_cast<std::size_t>(n));
  close(canal[0]);
  int estado = 0;
  if (filho < 0 || waitpid(filho, &estado, 0) != filho || !WIFEXITED(estado) ||
      WEXITSTATUS(estado) != 0)
    return "the child process did not end normally: " + resultado;
  return resultado;
}

}  // namespace tolvane::teste
