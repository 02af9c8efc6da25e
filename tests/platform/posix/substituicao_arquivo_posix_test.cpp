// The whole-file replacement on Linux: permissions, a full disk, links.
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <functional>

#include "comum/arquivos_teste.h"
#include "core/erro.h"
#include "platform/substituicao_arquivo.h"

namespace tolvane {
namespace {

using teste::PastaTemporaria;
namespace fs = std::filesystem;

// Runs AAcao in a child process prepared by APreparar, and returns "<kind>|<message>" of the
// error it raised, or "ok".
std::string NoProcessoFilho(const std::function<void()>& APreparar,
                            const std::function<void()>& AAcao) {
  int canal[2];
  if (pipe(canal) != 0) return "pipe falhou";
  const pid_t filho = fork();
  if (filho == 0) {
    close(canal[0]);
    std::string resultado = "ok";
    try {
      APreparar();
      AAcao();
    } catch (const Erro& e) {
      resultado = e.Classe() + "|" + e.Mensagem();
    } catch (const std::exception& e) {
      resultado = std::string("std::exception|") + e.what();
    }
    (void)!write(canal[1], resultado.data(), resultado.size());
    _exit(0);
  }
  close(canal[1]);
  std::string resultado;
  char bloco[512];
  for (ssize_t n; (n = read(canal[0], bloco, sizeof bloco)) > 0;)
    resultado.append(bloco, static_cast<std::size_t>(n));
  close(canal[0]);
  int estado = 0;
  waitpid(filho, &estado, 0);
  if (!WIFEXITED(estado)) return "o processo filho terminou de forma anormal";
  return resultado;
}

// As root, the child gives up its rights (to "nobody"), so that the folder's permissions hold.
void SemPrivilegios() {
  if (geteuid() != 0) return;
  if (setgid(65534) != 0 || setuid(65534) != 0) throw std::runtime_error("setuid falhou");
}

TEST(SubstituirArquivoPosix, ReadOnlyFolderIsACreateErrorAndKeepsTheOldFile) {
  PastaTemporaria raiz;
  const std::string pasta = raiz / "executavel";
  fs::create_directory(pasta);
  const std::string caminho = pasta + "/RetornoClassTrib.json";
  teste::EscreverArquivo(caminho, "resposta anterior\r\n");
  chmod(raiz.Caminho().c_str(), 0755);
  chmod(pasta.c_str(), 0555);

  EXPECT_EQ(NoProcessoFilho(SemPrivilegios, [&] { SubstituirArquivo(caminho, "nova"); }),
            "EFCreateError|Cannot create file \"" + caminho + "\". Permission denied");
  EXPECT_EQ(teste::LerArquivo(caminho), "resposta anterior\r\n");
  EXPECT_EQ(teste::EntradasDaPasta(pasta), std::vector<std::string>{"RetornoClassTrib.json"});
}

TEST(SubstituirArquivoPosix, ShortWriteIsAWriteErrorAndKeepsTheOldFile) {
  PastaTemporaria pasta;
  const std::string caminho = pasta / "RetornoClassTrib.json";
  teste::EscreverArquivo(caminho, "resposta anterior\r\n");
  // A file-size limit makes the write stop short, as a full disk would.
  auto limitar = [] {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limite{1000, 1000};
    if (setrlimit(RLIMIT_FSIZE, &limite) != 0) throw std::runtime_error("setrlimit falhou");
  };
  EXPECT_EQ(NoProcessoFilho(limitar, [&] { SubstituirArquivo(caminho, std::string(5000, 'x')); }),
            "EWriteError|Stream write error");
  EXPECT_EQ(teste::LerArquivo(caminho), "resposta anterior\r\n");
  EXPECT_EQ(teste::EntradasDaPasta(pasta.Caminho()),
            std::vector<std::string>{"RetornoClassTrib.json"});
}

mode_t Modo(const std::string& ACaminho) {
  struct stat st {};
  if (::stat(ACaminho.c_str(), &st) != 0) ADD_FAILURE() << "missing: " << ACaminho;
  return st.st_mode & 07777;
}

TEST(SubstituirArquivoPosix, ExecutableOrTheModeOfAnyNewFile) {
  PastaTemporaria pasta;
  const mode_t anterior = ::umask(022);
  SubstituirArquivo(pasta / "comum", "x");
  SubstituirArquivo(pasta / "programa", "x", true);
  ::umask(anterior);
  EXPECT_EQ(Modo(pasta / "comum"), 0644u);
  EXPECT_EQ(Modo(pasta / "programa"), 0755u);
}

// A link at the target is replaced itself; what it points to is never written.
TEST(SubstituirArquivoPosix, LinkAtTheTargetIsReplacedNotFollowed) {
  PastaTemporaria pasta;
  teste::EscreverArquivo(pasta / "vitima", "intacta");
  fs::create_symlink(pasta / "vitima", pasta / "alvo");
  SubstituirArquivo(pasta / "alvo", "novo");
  EXPECT_FALSE(fs::is_symlink(pasta / "alvo"));
  EXPECT_EQ(teste::LerArquivo(pasta / "alvo"), "novo");
  EXPECT_EQ(teste::LerArquivo(pasta / "vitima"), "intacta");
}

}  // namespace
}  // namespace tolvane
