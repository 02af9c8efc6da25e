#include "platform/texto_resposta.h"

#include <array>
#include <initializer_list>

#include "core/texto.h"
#include "core/utf8.h"

namespace tolvane {

namespace {

// The "charset" parameter of a media type, lower case; empty when there is none.
std::string ConjuntoDoTipo(std::string_view ATipo) {
  const std::string tipo = MinusculasAscii(ATipo);
  std::size_t i = 0;
  while ((i = tipo.find(';', i)) != std::string::npos) {
    ++i;
    while (i < tipo.size() && (tipo[i] == ' ' || tipo[i] == '\t')) ++i;
    if (tipo.compare(i, 8, "charset=") != 0) continue;
    std::string_view valor = std::string_view(tipo).substr(i + 8);
    if (!valor.empty() && valor.front() == '"') {
      valor.remove_prefix(1);
      valor = valor.substr(0, valor.find('"'));
    } else {
      valor = valor.substr(0, valor.find_first_of("; \t"));
    }
    return std::string(valor);
  }
  return {};
}

// Windows-1252's 0x80-0x9F; the five bytes it leaves free stand for the C1 controls.
constexpr std::array<char16_t, 32> kAlto1252 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::string De1252(std::string_view ABytes) {
  std::u16string r;
  r.reserve(ABytes.size());
  for (const char c : ABytes) {
    const auto b = static_cast<unsigned char>(c);
    r += b >= 0x80 && b < 0xA0 ? kAlto1252[b - 0x80] : static_cast<char16_t>(b);
  }
  return Utf8DeUtf16(r);
}

std::string DeUtf16(std::string_view ABytes, bool AGrandeFinal) {
  std::string texto = Utf8DeBytesUtf16(ABytes, AGrandeFinal);
  if (texto.starts_with("\xEF\xBB\xBF")) texto.erase(0, 3);  // a byte-order mark
  if (ABytes.size() % 2 != 0) texto += "\xEF\xBF\xBD";       // a last odd byte
  return texto;
}

bool Em(const std::string& AConjunto, std::initializer_list<std::string_view> ANomes) {
  for (const auto n : ANomes)
    if (AConjunto == n) return true;
  return false;
}

}  // namespace

std::string TextoResposta(std::string ACorpo, std::string_view ATipoConteudo) {
  const std::string conjunto = ConjuntoDoTipo(ATipoConteudo);
  if (Em(conjunto, {"iso-8859-1", "iso8859-1", "iso_8859-1", "latin1", "l1", "us-ascii", "ascii",
                    "windows-1252", "cp1252", "x-cp1252"}))
    return De1252(ACorpo);
  if (Em(conjunto, {"utf-16", "utf-16le"})) return DeUtf16(ACorpo, false);
  if (conjunto == "utf-16be") return DeUtf16(ACorpo, true);
  return Utf8Saneado(std::move(ACorpo));
}

}  // namespace tolvane
