#include "platform/perfil.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string_view>

#include "core/texto.h"
#include "core/utf8.h"
#include "platform/codificacao.h"
#include "platform/posix/descritor.h"
#include "platform/posix/perfil_bytes.h"

// Hand-written rather than an INI library: the ERP's files are read by the Windows
// private-profile function on its workstations, and these exact rules (first match, quotes, the
// 2047-character cut, the byte-order marks) decide which database the system opens.

namespace tolvane {

namespace {

// An INI file is a few kilobytes; anything larger is no configuration file, and reading it
// whole would only cost memory.
constexpr std::size_t kTamanhoMaximo = 16u << 20;
constexpr std::size_t kCaracteresValor = 2047;

// The file's bytes; nothing when it is no regular file or too large. O_NONBLOCK keeps a FIFO
// from blocking the open; the type is checked on the open descriptor.
std::string LerBytes(const std::string& ACaminho) {
  Descritor arquivo(open(ACaminho.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  struct stat st {};
  if (*arquivo < 0 || fstat(*arquivo, &st) != 0 || !S_ISREG(st.st_mode) ||
      static_cast<std::size_t>(st.st_size) > kTamanhoMaximo)
    return {};
  std::string bytes;
  char buf[65536];
  for (;;) {
    const ssize_t n = read(*arquivo, buf, sizeof buf);
    if (n < 0) return {};
    if (n == 0) break;
    bytes.append(buf, static_cast<std::size_t>(n));
    if (bytes.size() > kTamanhoMaximo) return {};  // grew while being read
  }
  return bytes;
}

// The file's text in UTF-8, by its byte-order mark.
std::string DecodificarArquivo(std::string_view ABytes) {
  if (ABytes.starts_with("\xFF\xFE")) return Utf8DeBytesUtf16(ABytes.substr(2), false);
  if (ABytes.starts_with("\xFE\xFF")) return Utf8DeBytesUtf16(ABytes.substr(2), true);
  if (ABytes.starts_with("\xEF\xBB\xBF")) return Utf8Saneado(ABytes.substr(3));
  return Utf8Saneado(DeAnsi(ABytes));
}

std::string_view Aparar(std::string_view ATexto) {
  constexpr std::string_view kBrancos = " \t\v\f";
  const std::size_t inicio = ATexto.find_first_not_of(kBrancos);
  if (inicio == std::string_view::npos) return {};
  return ATexto.substr(inicio, ATexto.find_last_not_of(kBrancos) - inicio + 1);
}

// Letter case folded for ASCII and Latin-1, the letters of the ERP's section and key names.
char32_t Minuscula(char32_t c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 0x20;
  return c;
}

bool MesmoNome(std::string_view A, std::string_view B) {
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < A.size() && j < B.size()) {
    const CaractereUtf8 a = LerCaractereUtf8(A, i);
    const CaractereUtf8 b = LerCaractereUtf8(B, j);
    if (Minuscula(a.Codigo) != Minuscula(b.Codigo)) return false;
    i += a.Tamanho;
    j += b.Tamanho;
  }
  return i == A.size() && j == B.size();
}

std::string_view SemAspas(std::string_view AValor) {
  if (AValor.size() >= 2 && (AValor.front() == '"' || AValor.front() == '\'') &&
      AValor.back() == AValor.front())
    return AValor.substr(1, AValor.size() - 2);
  return AValor;
}

std::string ValorNoTexto(std::string_view ATexto, std::string_view ASecao,
                         std::string_view AChave) {
  bool naSecao = false;
  std::size_t inicio = 0;
  while (inicio < ATexto.size()) {
    std::size_t fim = ATexto.find_first_of("\r\n", inicio);
    if (fim == std::string::npos) fim = ATexto.size();
    const std::string_view linha = Aparar(std::string_view(ATexto).substr(inicio, fim - inicio));
    inicio = fim + 1;
    if (linha.empty()) continue;
    if (linha.front() == '[') {
      const std::size_t fecha = linha.rfind(']');
      if (fecha == std::string_view::npos) continue;  // no section header: ignored
      if (naSecao) return {};                         // only the first section of the name
      naSecao = MesmoNome(Aparar(linha.substr(1, fecha - 1)), ASecao);
      continue;
    }
    if (!naSecao) continue;
    const std::size_t igual = linha.find('=');
    if (!MesmoNome(Aparar(linha.substr(0, igual)), AChave)) continue;
    if (igual == std::string_view::npos) return {};
    const std::string_view valor = SemAspas(Aparar(linha.substr(igual + 1)));
    return std::string(PrimeirosCaracteres(valor, kCaracteresValor));
  }
  return {};
}

}  // namespace

std::string LerPerfil(const std::string& AArquivo, const std::string& ASecao,
                      const std::string& AChave) {
  return ValorPerfil(LerBytes(AArquivo), ASecao, AChave);
}

std::string ValorPerfil(std::string_view ABytes, std::string_view ASecao, std::string_view AChave) {
  return ValorNoTexto(DecodificarArquivo(ABytes), ASecao, AChave);
}

std::vector<std::string> LerValoresPerfil(const std::string& AArquivo, const std::string& ASecao,
                                          const std::vector<std::string>& AChaves) {
  const std::string texto = DecodificarArquivo(LerBytes(AArquivo));
  std::vector<std::string> valores;
  valores.reserve(AChaves.size());
  for (const auto& chave : AChaves) valores.push_back(ValorNoTexto(texto, ASecao, chave));
  return valores;
}

}  // namespace tolvane
