#include "platform/janelas.h"

#include <gtest/gtest.h>

#include "platform/janela_de_teste.h"

namespace tolvane {
namespace {

TEST(ExisteJanela, ClassAndTitleWithLetterCaseIgnoredHiddenWindowsIncluded) {
  const teste::JanelaDeTeste janela("TApplication", "Estação Assistente");
  struct Caso {
    const char* Classe;
    const char* Titulo;
    bool Achada;
  };
  const Caso casos[] = {
      {"TApplication", "Estação Assistente", true},
      {"tapplication", "ESTAÇÃO assistente", true},
      {"TApplication", "Estação", false},
      {"TApplication", "Estação Assistente 2", false},
      {"TApplicationX", "Estação Assistente", false},
      {"OutraClasse", "Estação Assistente", false},
      {"TApplication", "", false},
  };
  for (const Caso& c : casos)
    EXPECT_EQ(ExisteJanela(c.Classe, c.Titulo), c.Achada) << c.Classe << " / " << c.Titulo;
}

}  // namespace
}  // namespace tolvane
