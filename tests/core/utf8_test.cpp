#include "core/utf8.h"

#include <gtest/gtest.h>

namespace tolvane {
namespace {

constexpr const char* kFffd = "\xEF\xBF\xBD";

TEST(Utf8, Validation) {
  EXPECT_TRUE(EhUtf8Valido("ação \xF0\x9F\x98\x80"));
  EXPECT_TRUE(EhUtf8Valido(std::string(40, 'a') + "ç" + std::string(40, 'b')));
  EXPECT_FALSE(EhUtf8Valido("\xC3"));                         // cut sequence
  EXPECT_FALSE(EhUtf8Valido("\xC0\xAF"));                     // overlong
  EXPECT_FALSE(EhUtf8Valido("\xED\xA0\x80"));                 // surrogate
  EXPECT_FALSE(EhUtf8Valido("\xF4\x90\x80\x80"));             // past U+10FFFF
  EXPECT_FALSE(EhUtf8Valido("caf\xE9"));                      // Latin-1
  EXPECT_FALSE(EhUtf8Valido(std::string(16, 'a') + "\xFF"));  // after the fast ASCII blocks
}

// One U+FFFD per maximal ill-formed subpart, the policy of every decoder in the system.
TEST(Utf8, ReplacementPolicy) {
  const std::string f = kFffd;
  struct Caso {
    const char* Rotulo;
    std::string Entrada;
    std::string Esperado;
  };
  const Caso casos[] = {
      {"valid text unchanged", "ação \xF0\x9F\x98\x80", "ação \xF0\x9F\x98\x80"},
      {"lone continuation byte", "a\x80z", "a" + f + "z"},
      {"cut three-byte sequence is one subpart", "a\xE2\x82z", "a" + f + "z"},
      {"cut sequence at the end", "a\xF0\x9F\x98", "a" + f},
      {"Latin-1 bytes one each", "A\xE7\xE3o", "A" + f + f + "o"},
      {"overlong lead byte alone", "\xC0\xAF", f + f},
      {"surrogate bytes", "\xED\xA0\x80", f + f + f},
      {"past U+10FFFF", "\xF4\x90\x80\x80", f + f + f + f},
      {"NUL kept", std::string("a\0b", 3), std::string("a\0b", 3)},
  };
  for (const auto& c : casos) EXPECT_EQ(Utf8Saneado(c.Entrada), c.Esperado) << c.Rotulo;
}

TEST(Utf8, Utf16BothWays) {
  EXPECT_EQ(Utf8DeUtf16(u"Ação \U0001F600"), "Ação \xF0\x9F\x98\x80");
  EXPECT_EQ(Utf16DeUtf8("Ação \xF0\x9F\x98\x80"), u"Ação \U0001F600");
  const char16_t sozinho[] = {u'a', 0xD800, u'b', 0xDC00, 0};
  EXPECT_EQ(Utf8DeUtf16(sozinho), std::string("a") + kFffd + "b" + kFffd);
  EXPECT_EQ(Utf16DeUtf8("a\xE2\x82z"), u"a\uFFFDz");
}

}  // namespace
}  // namespace tolvane
