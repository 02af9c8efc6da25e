// The ANSI code page: ASCII passes both ways unchanged on every system, and what comes back from
// the ANSI side is always valid UTF-8.
#include "platform/codificacao.h"

#include <gtest/gtest.h>

#include "core/utf8.h"

namespace tolvane {
namespace {

TEST(CodificacaoAnsi, AsciiBothWaysAndUtf8Back) {
  const std::string ascii = "C:\\Dados\\BANCO.FDB user=SYSDBA ~!@#$%^&*()";
  EXPECT_EQ(ParaAnsi(ascii), ascii);
  EXPECT_EQ(DeAnsi(ascii), ascii);
  EXPECT_EQ(ParaAnsi(""), "");
  EXPECT_EQ(DeAnsi(""), "");
  std::string todos;
  for (int b = 1; b < 256; ++b) todos += static_cast<char>(b);
  EXPECT_TRUE(EhUtf8Valido(DeAnsi(todos)));
}

}  // namespace
}  // namespace tolvane
