#include "comum/localidade_teste.h"

#ifdef _WIN32
#include <windows.h>

#include "core/utf8.h"
#else
#include <locale.h>
#endif

namespace tolvane::teste {

#ifdef _WIN32

// Windows has no per-process locales to install: a test that asks for one passes only when it is
// the user's locale, which the Wine prefix sets (pt-BR; tests/wine/prefixo.sh).
::testing::AssertionResult LocaleInstalado(const std::string& ANome) {
  std::string procurado = ANome.substr(0, ANome.find('.'));
  for (char& c : procurado)
    if (c == '_') c = '-';
  wchar_t nome[LOCALE_NAME_MAX_LENGTH] = {};
  const int n = GetUserDefaultLocaleName(nome, LOCALE_NAME_MAX_LENGTH);
  const std::wstring_view usuario(nome, n > 0 ? static_cast<std::size_t>(n - 1) : 0);
  const std::string atual = Utf8DeUtf16(std::u16string(usuario.begin(), usuario.end()));
  if (atual == procurado) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "locale " << ANome << " is not the user's locale ("
                                       << atual << "; tests/wine/prefixo.sh sets it)";
}

#else

::testing::AssertionResult LocaleInstalado(const std::string& ANome) {
  const locale_t l = newlocale(LC_TIME_MASK, ANome.c_str(), static_cast<locale_t>(nullptr));
  if (!l)
    return ::testing::AssertionFailure()
           << "locale " << ANome << " is not installed (scripts/test generates it)";
  freelocale(l);
  return ::testing::AssertionSuccess();
}

#endif

}  // namespace tolvane::teste
