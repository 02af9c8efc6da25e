#include "platform/substituicao_arquivo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <random>

#include "core/caminho.h"
#include "core/erro.h"
#include "platform/erro_sistema.h"
#include "platform/posix/descritor.h"

namespace tolvane {

namespace {

// The temporary file is removed unless it has been renamed into place.
class ArquivoTemporario {
 public:
  ArquivoTemporario() = default;
  ~ArquivoTemporario() {
    if (!FCaminho.empty()) ::unlink(FCaminho.c_str());
  }
  ArquivoTemporario(const ArquivoTemporario&) = delete;
  ArquivoTemporario& operator=(const ArquivoTemporario&) = delete;

  void Definir(std::string ACaminho) { FCaminho = std::move(ACaminho); }
  const std::string& Caminho() const { return FCaminho; }
  void Entregue() { FCaminho.clear(); }

 private:
  std::string FCaminho;
};

Erro ErroCriacao(const std::string& ACaminho, int ACodigo) {
  return ErroCriacaoArquivo(ACaminho, TextoErroSistema(ACodigo));
}

}  // namespace

void SubstituirArquivo(const std::string& ACaminho, std::string_view AConteudo, bool AExecutavel) {
  std::random_device aleatorio;
  ArquivoTemporario temporario;
  int fd = -1;
  for (int tentativa = 0;; ++tentativa) {
    const std::string nome = NomeTemporarioAoLado(ACaminho, aleatorio());
    // O_EXCL: a file or a link already at that name is never written through. 0666 as any new
    // file: the user's umask decides.
    fd = ::open(nome.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      temporario.Definir(nome);
      break;
    }
    if (errno != EEXIST || tentativa == 99) throw ErroCriacao(ACaminho, errno);
  }
  Descritor arquivo(fd);

  const char* dados = AConteudo.data();
  std::size_t resta = AConteudo.size();
  while (resta > 0) {
    const ssize_t n = ::write(*arquivo, dados, std::min<std::size_t>(resta, 1 << 20));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw ErroEscritaFluxo();
    dados += n;
    resta -= static_cast<std::size_t>(n);
  }
  // An executable is what the desktop launchers need: rwxr-xr-x, as a program's own file.
  if (AExecutavel && ::fchmod(*arquivo, 0755) != 0) throw ErroCriacao(ACaminho, errno);
  if (::fsync(*arquivo) != 0 || arquivo.Fechar() != 0) throw ErroEscritaFluxo();
  if (::rename(temporario.Caminho().c_str(), ACaminho.c_str()) != 0)
    throw ErroCriacao(ACaminho, errno);
  temporario.Entregue();

  // The new name must reach the disk too; a failure here loses nothing written.
  const auto pasta = CaminhoDe(ACaminho).parent_path();
  Descritor dir(::open(pasta.empty() ? "." : pasta.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.Valido()) ::fsync(*dir);
}

}  // namespace tolvane
