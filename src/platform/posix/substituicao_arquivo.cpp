#include "platform/substituicao_arquivo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <random>

#include "core/erro.h"
#include "platform/posix/descritor.h"
#include "platform/posix/erro_sistema.h"

namespace tolvane {

namespace {

namespace fs = std::filesystem;

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
  return Erro("EFCreateError",
              "Cannot create file \"" + ACaminho + "\". " + TextoErroSistema(ACodigo));
}

Erro ErroEscrita() { return Erro("EWriteError", "Stream write error"); }

std::string Hexadecimal(std::uint32_t AValor) {
  constexpr char kDigitos[] = "0123456789abcdef";
  std::string r(8, '0');
  for (int i = 7; i >= 0; --i, AValor >>= 4)
    r[static_cast<std::size_t>(i)] = kDigitos[AValor & 0xF];
  return r;
}

}  // namespace

void SubstituirArquivo(const std::string& ACaminho, std::string_view AConteudo,
                       std::optional<unsigned> AModo) {
  const fs::path caminho(ACaminho);
  const fs::path pasta = caminho.has_parent_path() ? caminho.parent_path() : fs::path(".");
  std::random_device aleatorio;
  ArquivoTemporario temporario;
  int fd = -1;
  for (int tentativa = 0;; ++tentativa) {
    const std::string nome =
        (pasta / ("." + caminho.filename().string() + "." + Hexadecimal(aleatorio()) + ".tmp"))
            .string();
    // 0666 as any new file: the user's umask decides.
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
    if (n <= 0) throw ErroEscrita();
    dados += n;
    resta -= static_cast<std::size_t>(n);
  }
  if (AModo && ::fchmod(*arquivo, static_cast<mode_t>(*AModo)) != 0)
    throw ErroCriacao(ACaminho, errno);
  if (::fsync(*arquivo) != 0 || arquivo.Fechar() != 0) throw ErroEscrita();
  if (::rename(temporario.Caminho().c_str(), ACaminho.c_str()) != 0)
    throw ErroCriacao(ACaminho, errno);
  temporario.Entregue();

  // The new name must reach the disk too; a failure here loses nothing written.
  const int fdPasta = ::open(pasta.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fdPasta >= 0) {
    ::fsync(fdPasta);
    ::close(fdPasta);
  }
}

}  // namespace tolvane
