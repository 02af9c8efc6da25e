#include "platform/perfil.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string_view>

#include "core/texto.h"
#include "platform/codificacao.h"
#include "platform/posix/descritor.h"

// Hand-written rather than an INI library: the ERP's files are read by the Windows
// private-profile function on its workstations, and these exact rules (first match, quotes, the
// 2047-character cut, the byte-order marks) decide which database the system opens.

namespace tolvane {

namespace {

// An INI file is a few kilobytes; anything larger is no configuration file, and reading it
// whole would only cost memory.
constexpr std::size_t kTamanhoMaximo = 16u << 20;
constexpr std::size_t kCaracteresValor = 2047;
constexpr char32_t kSubstituto = 0xFFFD;

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

void AcrescentarUtf8(std::string& ATexto, char32_t c) {
  if (c < 0x80) {
    ATexto += static_cast<char>(c);
  } else if (c < 0x800) {
    ATexto += static_cast<char>(0xC0 | (c >> 6));
    ATexto += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    ATexto += static_cast<char>(0xE0 | (c >> 12));
    ATexto += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    ATexto += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    ATexto += static_cast<char>(0xF0 | (c >> 18));
    ATexto += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    ATexto += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    ATexto += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Next code point of a UTF-8 text; an invalid sequence gives U+FFFD and moves one byte on.
char32_t ProximoUtf8(std::string_view ATexto, std::size_t& i) {
  const auto b = [&](std::size_t k) { return static_cast<unsigned char>(ATexto[k]); };
  const unsigned char c = b(i);
  std::size_t n = 0;
  char32_t cp = 0;
  char32_t minimo = 0;
  if (c < 0x80) {
    ++i;
    return c;
  } else if ((c & 0xE0) == 0xC0) {
    n = 1, cp = c & 0x1F, minimo = 0x80;
  } else if ((c & 0xF0) == 0xE0) {
    n = 2, cp = c & 0x0F, minimo = 0x800;
  } else if ((c & 0xF8) == 0xF0) {
    n = 3, cp = c & 0x07, minimo = 0x10000;
  } else {
    ++i;
    return kSubstituto;
  }
  if (i + n >= ATexto.size()) {
    ++i;
    return kSubstituto;
  }
  for (std::size_t k = 1; k <= n; ++k) {
    if ((b(i + k) & 0xC0) != 0x80) {
      ++i;
      return kSubstituto;
    }
    cp = (cp << 6) | (b(i + k) & 0x3F);
  }
  if (cp < minimo || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++i;
    return kSubstituto;
  }
  i += n + 1;
  return cp;
}

std::string Utf8Saneado(std::string_view ATexto) {
  if (EhUtf8Valido(ATexto)) return std::string(ATexto);
  std::string r;
  for (std::size_t i = 0; i < ATexto.size();) AcrescentarUtf8(r, ProximoUtf8(ATexto, i));
  return r;
}

std::string DeUtf16(std::string_view ABytes, bool ABigEndian) {
  std::string r;
  const std::size_t unidades = ABytes.size() / 2;
  const auto unidade = [&](std::size_t k) -> char32_t {
    const auto a = static_cast<unsigned char>(ABytes[2 * k]);
    const auto b = static_cast<unsigned char>(ABytes[2 * k + 1]);
    return ABigEndian ? (a << 8) | b : (b << 8) | a;
  };
  for (std::size_t k = 0; k < unidades; ++k) {
    char32_t c = unidade(k);
    if (c >= 0xD800 && c <= 0xDBFF && k + 1 < unidades && unidade(k + 1) >= 0xDC00 &&
        unidade(k + 1) <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (unidade(k + 1) - 0xDC00);
      ++k;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = kSubstituto;
    }
    AcrescentarUtf8(r, c);
  }
  return r;
}

// The file's text in UTF-8, by its byte-order mark.
std::string DecodificarArquivo(std::string_view ABytes) {
  if (ABytes.starts_with("\xFF\xFE")) return DeUtf16(ABytes.substr(2), false);
  if (ABytes.starts_with("\xFE\xFF")) return DeUtf16(ABytes.substr(2), true);
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
  while (i < A.size() && j < B.size())
    if (Minuscula(ProximoUtf8(A, i)) != Minuscula(ProximoUtf8(B, j))) return false;
  return i == A.size() && j == B.size();
}

std::string_view SemAspas(std::string_view AValor) {
  if (AValor.size() >= 2 && (AValor.front() == '"' || AValor.front() == '\'') &&
      AValor.back() == AValor.front())
    return AValor.substr(1, AValor.size() - 2);
  return AValor;
}

}  // namespace

std::string LerPerfil(const std::string& AArquivo, const std::string& ASecao,
                      const std::string& AChave) {
  const std::string texto = DecodificarArquivo(LerBytes(AArquivo));
  bool naSecao = false;
  std::size_t inicio = 0;
  while (inicio < texto.size()) {
    std::size_t fim = texto.find_first_of("\r\n", inicio);
    if (fim == std::string::npos) fim = texto.size();
    const std::string_view linha = Aparar(std::string_view(texto).substr(inicio, fim - inicio));
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

}  // namespace tolvane
