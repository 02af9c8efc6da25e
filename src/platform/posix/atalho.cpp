#include "platform/atalho.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace tolvane {

namespace {

// A value of the desktop-entry string types: backslash, newline, tab and carriage return
// escaped, a leading blank written as "\s".
std::string ValorEntrada(std::string_view ATexto) {
  std::string r;
  for (std::size_t i = 0; i < ATexto.size(); ++i) {
    const char c = ATexto[i];
    if (c == '\\')
      r += "\\\\";
    else if (c == '\n')
      r += "\\n";
    else if (c == '\t')
      r += "\\t";
    else if (c == '\r')
      r += "\\r";
    else if (c == ' ' && i == 0)
      r += "\\s";
    else
      r += c;
  }
  return r;
}

// The program as one argument of the Exec key: always in double quotes, with '"', '`', '$' and
// '\' escaped by a backslash and '%' doubled (no field code); the string escapes of the value
// come on top of that, so a backslash in the path ends as four.
std::string ArgumentoExec(std::string_view APrograma) {
  std::string r = "\"";
  for (char c : APrograma) {
    if (c == '"' || c == '`' || c == '$' || c == '\\')
      r += '\\';
    else if (c == '%')
      r += '%';
    r += c;
  }
  return r + "\"";
}

std::string ConteudoLancador(const std::string& ADestino, const std::string& ADescricao) {
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Version=1.0\n"
         "Name=" +
         ValorEntrada(ADescricao) + "\nComment=" + ValorEntrada(ADescricao) +
         "\nExec=" + ValorEntrada(ArgumentoExec(ADestino)) + "\nTerminal=false\n";
}

class Descritor {
 public:
  explicit Descritor(int AFd) : FFd(AFd) {}
  ~Descritor() {
    if (FFd >= 0) ::close(FFd);
  }
  Descritor(const Descritor&) = delete;
  Descritor& operator=(const Descritor&) = delete;
  int Fd() const { return FFd; }
  bool Fechar() {
    const int fd = FFd;
    FFd = -1;
    return ::close(fd) == 0;
  }

 private:
  int FFd;
};

bool EscreverTudo(int AFd, std::string_view ADados) {
  while (!ADados.empty()) {
    const ssize_t n = ::write(AFd, ADados.data(), ADados.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    ADados.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace

std::string_view ExtensaoAtalho() { return ".desktop"; }

bool GravarAtalho(const std::string& AArquivo, const std::string& ADestino,
                  const std::string& ADescricao) {
  // A hidden temporary beside the launcher, renamed over it once complete: a desktop never
  // shows a half-written launcher, and an old one stays whole when the write fails.
  const std::size_t barra = AArquivo.rfind('/');
  const std::string pasta =
      barra == std::string::npos ? std::string() : AArquivo.substr(0, barra + 1);
  const std::string nome = barra == std::string::npos ? AArquivo : AArquivo.substr(barra + 1);
  std::string temporario = pasta + "." + nome + ".XXXXXX";
  Descritor fd(::mkstemp(temporario.data()));
  if (fd.Fd() < 0) return false;
  const bool escrito = EscreverTudo(fd.Fd(), ConteudoLancador(ADestino, ADescricao)) &&
                       ::fchmod(fd.Fd(), 0755) == 0 && ::fsync(fd.Fd()) == 0;
  if (fd.Fechar() && escrito && std::rename(temporario.c_str(), AArquivo.c_str()) == 0) return true;
  ::unlink(temporario.c_str());
  return false;
}

}  // namespace tolvane
