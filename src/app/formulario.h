#pragma once

#include <memory>
#include <string_view>

#include "app/aplicacao_janelas.h"
#include "app/janela.h"
#include "app/layout.h"

namespace tolvane {

// A window of the system: the window the frontend built from the form's layout, and the form's
// handlers. A form class names its handlers as the system does and says which control runs
// which in AoClicar.
class Formulario : public EventosJanela {
 public:
  Formulario(AplicacaoJanelas& AAplicacao, const LayoutJanela& ALayout);
  ~Formulario() override;
  Formulario(const Formulario&) = delete;
  Formulario& operator=(const Formulario&) = delete;

  // The creation handler, run by CreateForm.
  virtual void FormCreate() {}

  Janela& Window() const { return *FJanela; }

  // Expires when the form is freed: for flows that run messages while they hold a form that
  // frees itself on close.
  std::weak_ptr<const void> Vida() const { return FVida; }

  // EventosJanela: an error that leaves a handler goes to the default error display.
  void Click(std::string_view AControle) noexcept final;
  bool CloseQuery() noexcept override { return true; }
  void FormClose() noexcept final;

 protected:
  virtual void AoClicar(std::string_view AControle) = 0;
  virtual void AoFechar() {}

  AplicacaoJanelas& FAplicacao;
  std::unique_ptr<Janela> FJanela;

 private:
  template <typename F>
  void Tratar(F AManipulador) noexcept;

  std::shared_ptr<const void> FVida = std::make_shared<int>(0);
};

}  // namespace tolvane
