#include "platform/caixa_letras.h"

#include "core/utf8.h"

namespace tolvane {

std::u32string MinusculasUnicode(std::string_view ATexto) {
  std::u32string r;
  r.reserve(ATexto.size());
  for (std::size_t i = 0; i < ATexto.size();) {
    const CaractereUtf8 c = LerCaractereUtf8(ATexto, i);
    if (c.Valido) {
      r += MinusculaUnicode(c.Codigo);
      i += c.Tamanho;
    } else {
      r += static_cast<char32_t>(0x110000 + static_cast<unsigned char>(ATexto[i]));
      ++i;
    }
  }
  return r;
}

bool IguaisSemCaixa(std::string_view A, std::string_view B) {
  return MinusculasUnicode(A) == MinusculasUnicode(B);
}

}  // namespace tolvane
