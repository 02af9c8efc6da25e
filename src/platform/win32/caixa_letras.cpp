#include "platform/caixa_letras.h"

#include "platform/win32/utf16.h"

namespace tolvane {

// Characters beyond the BMP have no lower case that CharLowerBuffW changes; they stay as they are.
char32_t MinusculaUnicode(char32_t ACodigo) {
  if (ACodigo > 0xFFFF || (ACodigo >= 0xD800 && ACodigo <= 0xDFFF)) return ACodigo;
  wchar_t c = static_cast<wchar_t>(ACodigo);
  CharLowerBuffW(&c, 1);
  return static_cast<char32_t>(c);
}

}  // namespace tolvane
