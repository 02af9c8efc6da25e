// The personal certificate store, on any system: the listing is repeatable and its names are
// UTF-8. (What the store holds is set up per system: see posix/certificados_posix_test.cpp.)
#include "platform/certificados.h"

#include <gtest/gtest.h>

#include "core/utf8.h"

namespace tolvane {
namespace {

TEST(NomesCertificadosPessoais, RepeatableListOfUtf8Names) {
  const auto nomes = NomesCertificadosPessoais();
  EXPECT_EQ(NomesCertificadosPessoais(), nomes);
  for (const auto& n : nomes) EXPECT_TRUE(EhUtf8Valido(n)) << n;
}

}  // namespace
}  // namespace tolvane
