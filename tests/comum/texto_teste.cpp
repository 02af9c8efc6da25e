#include "comum/texto_teste.h"

namespace tolvane::teste {

std::string Repetir(std::string_view ATexto, int AVezes) {
  std::string r;
  for (int i = 0; i < AVezes; ++i) r += ATexto;
  return r;
}

}  // namespace tolvane::teste
