// Library loading on Linux: a library of the system loads and gives its functions by name.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/biblioteca.h"

namespace tolvane {
namespace {

TEST(BibliotecaPosix, SystemLibraryGivesItsFunctions) {
  const Biblioteca c("libc.so.6", OrigemBiblioteca::Sistema);
  ASSERT_TRUE(c.Carregada()) << c.ErroCarga();
  EXPECT_EQ(c.ErroCarga(), "");
  const auto tamanho = c.Funcao<decltype(&std::strlen)>("strlen");
  ASSERT_NE(tamanho, nullptr);
  EXPECT_EQ(tamanho("tolvane"), 7u);
  EXPECT_EQ(c.Funcao<void (*)()>("tolvane_inexistente"), nullptr);
}

}  // namespace
}  // namespace tolvane
