#pragma once

#include <string>
#include <string_view>

namespace tolvane {

// Letter case as the system knows it, for the comparisons that ignore it (the certificate
// selector, the window search).

// The Unicode simple lower case of one character (Linux: the C.UTF-8 locale; Windows:
// CharLowerBuffW).
char32_t MinusculaUnicode(char32_t ACodigo);

// The text's characters in lower case; a byte that starts no valid UTF-8 sequence stands for
// itself, shifted out of the range of real characters, so that it matches only the same byte.
std::u32string MinusculasUnicode(std::string_view ATexto);

// True when the two texts are equal with letter case ignored.
bool IguaisSemCaixa(std::string_view A, std::string_view B);

}  // namespace tolvane
