#include "platform/caixa_letras.h"

#include <locale.h>
#include <wctype.h>

namespace tolvane {

char32_t MinusculaUnicode(char32_t ACodigo) {
  static const locale_t local = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
  if (local) return static_cast<char32_t>(towlower_l(static_cast<wint_t>(ACodigo), local));
  return ACodigo >= 'A' && ACodigo <= 'Z' ? ACodigo + ('a' - 'A') : ACodigo;
}

}  // namespace tolvane
