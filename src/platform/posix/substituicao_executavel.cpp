#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "core/erro.h"
#include "platform/nomes.h"
#include "platform/posix/descritor.h"
#include "platform/substituicao_executavel.h"
#include "platform/textos_substituicao.h"

namespace tolvane {

namespace {

namespace textos = textos_substituicao;

[[noreturn]] void Falhar(const std::string& AMensagem) { throw ErroSistemaComMensagem(AMensagem); }

std::string Causa(int AErro) { return std::strerror(AErro); }

// The temporary copy's name, removed on the way out unless the rename has taken it.
class Temporario {
 public:
  explicit Temporario(std::string ACaminho) : FCaminho(std::move(ACaminho)) {}
  ~Temporario() {
    if (!FEntregue) ::unlink(FCaminho.c_str());
  }
  Temporario(const Temporario&) = delete;
  Temporario& operator=(const Temporario&) = delete;
  const std::string& Caminho() const { return FCaminho; }
  void Entregar() { FEntregue = true; }

 private:
  std::string FCaminho;
  bool FEntregue = false;
};

bool MesmoConteudoProvavel(const struct stat& A, const struct stat& B) {
  return A.st_size == B.st_size && A.st_mtim.tv_sec == B.st_mtim.tv_sec &&
         A.st_mtim.tv_nsec == B.st_mtim.tv_nsec;
}

// The source opened for reading, with its state; refuses anything but a regular file. A symbolic
// link is followed to its file, as the program does when it compares the copies (and as CopyFile
// does on Windows): a release published as a link must not be handed over only to be refused.
Descritor AbrirOrigem(const std::string& AOrigem, struct stat& AEstado) {
  if (::stat(AOrigem.c_str(), &AEstado) != 0) {
    const int e = errno;
    if (e == ENOENT || e == ENOTDIR) Falhar(textos::OrigemAusente(AOrigem));
    Falhar(textos::OrigemIlegivel(AOrigem, Causa(e)));
  }
  if (S_ISDIR(AEstado.st_mode)) Falhar(textos::OrigemPasta(AOrigem));
  if (!S_ISREG(AEstado.st_mode)) Falhar(textos::OrigemIrregular(AOrigem));
  // O_NONBLOCK keeps a device swapped in after stat from blocking the open; the second look,
  // at the same file, keeps it from being taken.
  Descritor origem(::open(AOrigem.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (!origem.Valido()) Falhar(textos::OrigemIlegivel(AOrigem, Causa(errno)));
  struct stat aberto {};
  if (::fstat(*origem, &aberto) != 0 || !S_ISREG(aberto.st_mode) ||
      aberto.st_dev != AEstado.st_dev || aberto.st_ino != AEstado.st_ino)
    Falhar(textos::OrigemIrregular(AOrigem));
  AEstado = aberto;
  return origem;
}

void Gravar(int ADestino, const char* ADados, std::size_t ATamanho, const std::string& APasta) {
  while (ATamanho > 0) {
    const ssize_t n = ::write(ADestino, ADados, ATamanho);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int e = errno;
      if (e == ENOSPC || e == EDQUOT) Falhar(textos::SemEspaco(APasta));
      Falhar(textos::CopiaNaoGravada(APasta, Causa(e)));
    }
    ADados += n;
    ATamanho -= static_cast<std::size_t>(n);
  }
}

// The installed program's mode. Only its owner writes it: the server copy's write bits for group
// and others speak of the server's users (a CIFS mount shows every file as 0777), and here they
// would let any local user change a program others run. Its owner always reads and runs it; the
// others run it wherever they may read it, as reading a program is as good as running it, so a
// server copy shown without execute bits still installs runnable for those who ran the old one.
mode_t ModoInstalado(mode_t AModoOrigem) {
  const mode_t dono = S_IRUSR | S_IXUSR | (AModoOrigem & S_IWUSR);
  const mode_t leitura = AModoOrigem & (S_IRGRP | S_IROTH);
  // Each read bit moved onto the execute bit of its class.
  const mode_t execucao = (AModoOrigem & (S_IXGRP | S_IXOTH)) | (leitura >> 2);
  return dono | leitura | execucao;
}

}  // namespace

void SubstituirExecutavel(const std::string& AOrigem, const std::string& APastaDestino,
                          const std::string& ANome, const ConferenciaCopia& AConferir) {
  struct stat estado {};
  Descritor origem = AbrirOrigem(AOrigem, estado);

  const std::string destino = JuntarCaminho(APastaDestino, ANome);
  struct stat pasta {};
  if (::stat(APastaDestino.c_str(), &pasta) != 0 || !S_ISDIR(pasta.st_mode))
    Falhar(textos::PastaAusente(APastaDestino));
  struct stat antigo {};
  if (::lstat(destino.c_str(), &antigo) == 0 && S_ISDIR(antigo.st_mode))
    Falhar(textos::DestinoPasta(destino));

  std::string modelo = JuntarCaminho(APastaDestino, "." + ANome + ".novo-XXXXXX");
  Descritor copia(::mkostemp(modelo.data(), O_CLOEXEC));
  if (!copia.Valido()) Falhar(textos::CopiaNaoCriada(APastaDestino, Causa(errno)));
  Temporario temporario(modelo);

  std::vector<char> bloco(1 << 16);
  off_t copiados = 0;
  for (;;) {
    const ssize_t n = ::read(*origem, bloco.data(), bloco.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) Falhar(textos::OrigemIlegivel(AOrigem, Causa(errno)));
    if (n == 0) break;
    Gravar(*copia, bloco.data(), static_cast<std::size_t>(n), APastaDestino);
    copiados += n;
  }
  struct stat depois {};
  if (::fstat(*origem, &depois) != 0 || !MesmoConteudoProvavel(estado, depois) ||
      copiados != estado.st_size)
    Falhar(textos::OrigemMudou(AOrigem));

  const mode_t modo = ModoInstalado(estado.st_mode);
  const struct timespec tempos[2] = {estado.st_atim, estado.st_mtim};
  if (::fchmod(*copia, modo) != 0 || ::futimens(*copia, tempos) != 0 || ::fsync(*copia) != 0 ||
      copia.Fechar() != 0) {
    const int e = errno;
    if (e == ENOSPC || e == EDQUOT) Falhar(textos::SemEspaco(APastaDestino));
    Falhar(textos::CopiaNaoGravada(APastaDestino, Causa(e)));
  }

  if (AConferir) {
    const std::string recusa = AConferir(temporario.Caminho());
    if (!recusa.empty()) Falhar(recusa);
  }

  if (::rename(temporario.Caminho().c_str(), destino.c_str()) != 0) {
    const int e = errno;
    if (e == EISDIR || e == ENOTEMPTY || e == EEXIST) Falhar(textos::DestinoPasta(destino));
    Falhar(textos::NaoSubstituido(destino, Causa(e)));
  }
  temporario.Entregar();

  // The rename lasts a power cut only once the folder is on the disk too; the file is already
  // replaced, so a failure here changes nothing for the caller.
  Descritor dir(::open(APastaDestino.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.Valido()) ::fsync(*dir);
}

}  // namespace tolvane
