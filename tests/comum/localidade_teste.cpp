#include "comum/localidade_teste.h"

#include <locale.h>

namespace tolvane::teste {

::testing::AssertionResult LocaleInstalado(const std::string& ANome) {
  const locale_t l = newlocale(LC_TIME_MASK, ANome.c_str(), static_cast<locale_t>(nullptr));
  if (!l)
    return ::testing::AssertionFailure()
           << "locale " << ANome << " is not installed (scripts/test generates it)";
  freelocale(l);
  return ::testing::AssertionSuccess();
}

}  // namespace tolvane::teste
