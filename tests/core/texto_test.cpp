#include "core/texto.h"

#include <gtest/gtest.h>

namespace tolvane {
namespace {

TEST(Texto, AparaControlesRemovesCodesUpTo32AtBothEnds) {
  EXPECT_EQ(AparaControles(" \t\r\n abc d\x01 "), "abc d");
  EXPECT_EQ(AparaControles("\x1F\x20"), "");
  EXPECT_EQ(AparaControles("\xC2\xA0x"), "\xC2\xA0x");  // no-break space is no control
  EXPECT_TRUE(EhBranco(" \t "));
  EXPECT_TRUE(EhBranco(""));
  EXPECT_FALSE(EhBranco(" 0 "));
}

TEST(Texto, BlankEncodingRoundTripsAndTurnsRealSectionSignsIntoBlanks) {
  EXPECT_EQ(CodificarBrancos("S:\\Sistema Novo\\Update"), "S:\\Sistema\xC2\xA7Novo\\Update");
  EXPECT_EQ(CodificarBrancos("  "), "\xC2\xA7\xC2\xA7");
  EXPECT_EQ(CodificarBrancos("a\tb"), "a\tb");  // only U+0020 is a blank here
  EXPECT_EQ(DecodificarBrancos("a\xC2\xA7"
                               "b\xC2\xA7"),
            "a b ");
  EXPECT_EQ(DecodificarBrancos(CodificarBrancos("/x y/z w")), "/x y/z w");
  EXPECT_EQ(DecodificarBrancos("\xC2"), "\xC2");  // a cut sequence stays as it is
}

TEST(Texto, FinalPeriodRule) {
  struct Caso {
    const char* Entrada;
    const char* Saida;
  };
  constexpr Caso casos[] = {
      {"Stream write error", "Stream write error."},
      {"Erro HTTP 500: 42", "Erro HTTP 500: 42."},
      {"Termina em ponto.", "Termina em ponto."},
      {"Exclamação!", "Exclamação!"},
      {"espaço ", "espaço "},
      {"parêntese)", "parêntese)"},
      {"barra/", "barra/."},  // "/" comes after "."
      {"vírgula,", "vírgula,"},
      {"acentuação é", "acentuação é."},
      {"", ""},
  };
  for (const auto& c : casos) EXPECT_EQ(ComPontoFinal(c.Entrada), c.Saida) << c.Entrada;
}

TEST(Texto, CharacterCountingIsByCodePoint) {
  EXPECT_EQ(ContarCaracteres("ação"), 4u);
  EXPECT_EQ(SemUltimosCaracteres("programa.exe", 4), "programa");
  EXPECT_EQ(SemUltimosCaracteres("relatórioç", 2), "relatóri");
  EXPECT_EQ(SemUltimosCaracteres("ab", 4), "");
  EXPECT_EQ(PrimeirosCaracteres("çãoabc", 3), "ção");
  EXPECT_EQ(PrimeirosCaracteres("ab", 5), "ab");
}

}  // namespace
}  // namespace tolvane
