#include "app/formulario.h"

#include <exception>

namespace tolvane {

Formulario::Formulario(AplicacaoJanelas& AAplicacao, const LayoutJanela& ALayout)
    : FAplicacao(AAplicacao), FJanela(AAplicacao.CriarJanela(ALayout, *this)) {}

Formulario::~Formulario() = default;

template <typename F>
void Formulario::Tratar(F AManipulador) noexcept {
  try {
    AManipulador();
  } catch (const std::exception& e) {
    // The default error display; should showing it fail too, there is nobody left to tell.
    try {
      FAplicacao.MostrarErro(e);
    } catch (...) {
    }
  } catch (...) {
  }
}

void Formulario::Click(std::string_view AControle) noexcept {
  Tratar([&] { AoClicar(AControle); });
}

void Formulario::FormClose() noexcept {
  Tratar([&] { AoFechar(); });
}

}  // namespace tolvane
