// Library loading: a library that is not there says so and gives no functions.
#include "platform/biblioteca.h"

#include <gtest/gtest.h>

namespace tolvane {
namespace {

TEST(Biblioteca, MissingLibraryIsNotLoadedAndSaysWhy) {
  for (const char* nome : {"libtolvane-inexistente.so.9", "tolvane-inexistente.dll"}) {
    const Biblioteca ausente(nome, OrigemBiblioteca::ProgramaOuSistema);
    EXPECT_FALSE(ausente.Carregada()) << nome;
    EXPECT_NE(ausente.ErroCarga(), "") << nome;
    EXPECT_EQ(ausente.Funcao<void (*)()>("isc_attach_database"), nullptr) << nome;
  }
}

}  // namespace
}  // namespace tolvane
