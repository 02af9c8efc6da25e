// The ANSI code page on Windows: the code page of the user's system (1252 in the test prefix, as
// on a Brazilian workstation), both ways, with "?" for what it cannot hold.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/codificacao.h"

namespace tolvane {
namespace {

TEST(CodificacaoAnsiWindows, Cp1252BothWaysAndWhatItCannotHold) {
  ASSERT_EQ(GetACP(), 1252u) << "the test prefix is made with the ANSI code page 1252";
  EXPECT_EQ(ParaAnsi("Ação às 10€"), "A\xE7\xE3o \xE0s 10\x80");
  EXPECT_EQ(DeAnsi("A\xE7\xE3o \xE0s 10\x80"), "Ação às 10€");
  EXPECT_EQ(ParaAnsi("中文"), "??");
  // The five bytes that 1252 leaves undefined come back as the control characters Windows
  // maps them to.
  EXPECT_EQ(DeAnsi("\x81\x8D\x8F\x90\x9D"), "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D");
}

}  // namespace
}  // namespace tolvane
