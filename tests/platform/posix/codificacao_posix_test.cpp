// The ANSI code page on Linux: the locale's character set.
#include <gtest/gtest.h>

#include "comum/variavel_ambiente.h"
#include "platform/codificacao.h"

namespace tolvane {
namespace {

TEST(CodificacaoAnsiPosix, LocaleCharacterSetDecides) {
  const std::string fffd = "\xEF\xBF\xBD";
  struct Caso {
    const char* Locale;
    std::string Utf8;
    std::string Ansi;   // ParaAnsi(Utf8)
    std::string Volta;  // DeAnsi(Ansi)
  };
  const Caso casos[] = {
      {"C.UTF-8", "Ação 中文", "Ação 中文", "Ação 中文"},
      {"C", "JOÃO", "JO?O", "JO?O"},
  };
  for (const auto& c : casos) {
    const teste::VariavelAmbiente local("LC_ALL", c.Locale);
    EXPECT_EQ(ParaAnsi(c.Utf8), c.Ansi) << c.Locale;
    EXPECT_EQ(DeAnsi(c.Ansi), c.Volta) << c.Locale;
  }
  const teste::VariavelAmbiente local("LC_ALL", "C.UTF-8");
  EXPECT_EQ(DeAnsi("a\xE2\x82z\xFF"), "a" + fffd + "z" + fffd);
}

}  // namespace
}  // namespace tolvane
