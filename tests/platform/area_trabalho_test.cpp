// The desktop folder: an absolute folder without a trailing separator.
#include "platform/area_trabalho.h"

#include <gtest/gtest.h>

#include "core/caminho.h"

namespace tolvane {
namespace {

TEST(PastaAreaTrabalho, AbsoluteWithoutTrailingSeparator) {
  const std::string pasta = PastaAreaTrabalho();
  ASSERT_FALSE(pasta.empty());
  EXPECT_TRUE(CaminhoDe(pasta).is_absolute()) << pasta;
  EXPECT_NE(pasta.back(), '/') << pasta;
  EXPECT_NE(pasta.back(), '\\') << pasta;
}

}  // namespace
}  // namespace tolvane
