#include "core/utf8.h"

#include <cstdint>
#include <cstring>

namespace tolvane {

namespace {

// The length of the longest valid prefix; ASCII is skipped eight bytes at a time, as the
// service's answers are large and mostly ASCII.
std::size_t PrefixoValido(std::string_view ATexto) {
  std::size_t i = 0;
  const std::size_t n = ATexto.size();
  while (i < n) {
    std::uint64_t bloco;
    if (i + sizeof bloco <= n) {
      std::memcpy(&bloco, ATexto.data() + i, sizeof bloco);
      if ((bloco & 0x8080808080808080ULL) == 0) {
        i += sizeof bloco;
        continue;
      }
    }
    const CaractereUtf8 c = LerCaractereUtf8(ATexto, i);
    if (!c.Valido) return i;
    i += c.Tamanho;
  }
  return n;
}

}  // namespace

CaractereUtf8 LerCaractereUtf8(std::string_view ATexto, std::size_t AInicio) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(ATexto[k]); };
  const unsigned char b = byte(AInicio);
  if (b < 0x80) return {b, 1, true};
  std::size_t tamanho = 0;
  char32_t codigo = 0;
  unsigned char menor = 0x80, maior = 0xBF;  // range of the second byte
  if (b >= 0xC2 && b <= 0xDF) {
    tamanho = 2;
    codigo = b & 0x1F;
  } else if (b >= 0xE0 && b <= 0xEF) {
    tamanho = 3;
    codigo = b & 0x0F;
    if (b == 0xE0) menor = 0xA0;  // overlong
    if (b == 0xED) maior = 0x9F;  // surrogates
  } else if (b >= 0xF0 && b <= 0xF4) {
    tamanho = 4;
    codigo = b & 0x07;
    if (b == 0xF0) menor = 0x90;  // overlong
    if (b == 0xF4) maior = 0x8F;  // past U+10FFFF
  } else {
    return {kCaractereSubstituto, 1, false};
  }
  std::size_t fim = AInicio + 1;
  if (fim < ATexto.size() && byte(fim) >= menor && byte(fim) <= maior) {
    codigo = (codigo << 6) | (byte(fim) & 0x3F);
    ++fim;
    while (fim < AInicio + tamanho && fim < ATexto.size() && EhByteContinuacao(byte(fim))) {
      codigo = (codigo << 6) | (byte(fim) & 0x3F);
      ++fim;
    }
  }
  if (fim == AInicio + tamanho) return {codigo, tamanho, true};
  return {kCaractereSubstituto, fim - AInicio, false};
}

void AcrescentarUtf8(std::string& ADestino, char32_t c) {
  if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) c = kCaractereSubstituto;
  if (c < 0x80) {
    ADestino += static_cast<char>(c);
  } else if (c < 0x800) {
    ADestino += static_cast<char>(0xC0 | (c >> 6));
    ADestino += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    ADestino += static_cast<char>(0xE0 | (c >> 12));
    ADestino += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    ADestino += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    ADestino += static_cast<char>(0xF0 | (c >> 18));
    ADestino += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    ADestino += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    ADestino += static_cast<char>(0x80 | (c & 0x3F));
  }
}

bool EhUtf8Valido(std::string_view ATexto) { return PrefixoValido(ATexto) == ATexto.size(); }

std::string Utf8Saneado(std::string_view ATexto) {
  std::size_t i = PrefixoValido(ATexto);
  if (i == ATexto.size()) return std::string(ATexto);
  std::string r(ATexto.substr(0, i));
  r.reserve(ATexto.size() + 16);
  while (i < ATexto.size()) {
    const CaractereUtf8 c = LerCaractereUtf8(ATexto, i);
    if (c.Valido)
      r.append(ATexto.substr(i, c.Tamanho));
    else
      AcrescentarUtf8(r, kCaractereSubstituto);
    i += c.Tamanho;
  }
  return r;
}

std::string Utf8Saneado(std::string&& ATexto) {
  if (PrefixoValido(ATexto) == ATexto.size()) return std::move(ATexto);
  return Utf8Saneado(std::string_view(ATexto));
}

std::string Utf8DeUtf16(std::u16string_view ATexto) {
  std::string r;
  r.reserve(ATexto.size());
  for (std::size_t k = 0; k < ATexto.size(); ++k) {
    char32_t c = ATexto[k];
    if (c >= 0xD800 && c <= 0xDBFF && k + 1 < ATexto.size() && ATexto[k + 1] >= 0xDC00 &&
        ATexto[k + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (ATexto[k + 1] - 0xDC00);
      ++k;
    }
    AcrescentarUtf8(r, c);  // a lone surrogate becomes U+FFFD
  }
  return r;
}

std::u16string Utf16DeUtf8(std::string_view ATexto) {
  std::u16string r;
  r.reserve(ATexto.size());
  for (std::size_t i = 0; i < ATexto.size();) {
    const CaractereUtf8 c = LerCaractereUtf8(ATexto, i);
    i += c.Tamanho;
    if (c.Codigo >= 0x10000) {
      r += static_cast<char16_t>(0xD800 + ((c.Codigo - 0x10000) >> 10));
      r += static_cast<char16_t>(0xDC00 + ((c.Codigo - 0x10000) & 0x3FF));
    } else {
      r += static_cast<char16_t>(c.Codigo);
    }
  }
  return r;
}

std::string Utf8DeBytesUtf16(std::string_view ABytes, bool AGrandeFinal) {
  std::u16string unidades(ABytes.size() / 2, u'\0');
  for (std::size_t k = 0; k < unidades.size(); ++k) {
    const auto a = static_cast<unsigned char>(ABytes[2 * k]);
    const auto b = static_cast<unsigned char>(ABytes[2 * k + 1]);
    unidades[k] = static_cast<char16_t>(AGrandeFinal ? (a << 8) | b : (b << 8) | a);
  }
  return Utf8DeUtf16(unidades);
}

std::string BytesUtf16leDeUtf8(std::string_view ATexto) {
  std::string r;
  for (const char16_t u : Utf16DeUtf8(ATexto)) {
    r += static_cast<char>(u & 0xFF);
    r += static_cast<char>(u >> 8);
  }
  return r;
}

}  // namespace tolvane
