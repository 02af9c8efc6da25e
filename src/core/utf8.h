#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tolvane {

// The system's one UTF-8 codec. Replacement policy, the same everywhere: each maximal subpart of
// an ill-formed sequence (the longest start of a sequence that could still have become valid, at
// least one byte) becomes one U+FFFD, as the Unicode standard recommends and the WHATWG decoder
// does; an unpaired UTF-16 surrogate becomes one U+FFFD too.

inline constexpr char32_t kCaractereSubstituto = 0xFFFD;

// True for a byte that continues a UTF-8 sequence (10xxxxxx).
constexpr bool EhByteContinuacao(unsigned char c) { return (c & 0xC0) == 0x80; }

// One character read from a UTF-8 text.
struct CaractereUtf8 {
  char32_t Codigo = 0;      // U+FFFD when the sequence is ill-formed
  std::size_t Tamanho = 0;  // bytes taken: the sequence, or its maximal ill-formed subpart
  bool Valido = false;
};

// The character that starts at ATexto[AInicio]; AInicio must lie inside the text.
CaractereUtf8 LerCaractereUtf8(std::string_view ATexto, std::size_t AInicio);

// Appends the code point in UTF-8; a surrogate or a value past U+10FFFF is appended as U+FFFD.
void AcrescentarUtf8(std::string& ADestino, char32_t ACodigo);

// True when the bytes form valid UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool EhUtf8Valido(std::string_view ATexto);

// The text with the replacement policy applied; valid UTF-8 comes back unchanged.
std::string Utf8Saneado(std::string_view ATexto);
// The same, taking the text over when it is valid already (a large answer is not copied).
std::string Utf8Saneado(std::string&& ATexto);

// UTF-16 (code units in the machine's order) to UTF-8 and back; the UTF-8 side is read with the
// replacement policy.
std::string Utf8DeUtf16(std::u16string_view ATexto);
std::u16string Utf16DeUtf8(std::string_view ATexto);

// The same for UTF-16 as bytes, as files and answers carry it: little-endian, or big-endian with
// AGrandeFinal. A byte-order mark is neither read nor written here; an odd last byte is left out.
std::string Utf8DeBytesUtf16(std::string_view ABytes, bool AGrandeFinal);
std::string BytesUtf16leDeUtf8(std::string_view ATexto);

}  // namespace tolvane
