#include <gtest/gtest.h>

#include "comum/variavel_ambiente.h"
#include "platform/janelas.h"

namespace tolvane {
namespace {

TEST(ExisteJanela, WithoutADisplayNothingIsFound) {
  const teste::VariavelAmbiente semTela("DISPLAY", std::nullopt);
  EXPECT_FALSE(ExisteJanela("TApplication", "tolvane Assistente"));
  const teste::VariavelAmbiente telaQueNaoHa("DISPLAY", ":759.9");
  EXPECT_FALSE(ExisteJanela("TApplication", "tolvane Assistente"));
}

}  // namespace
}  // namespace tolvane
