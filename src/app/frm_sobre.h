#pragma once

#include "app/formulario.h"

namespace tolvane {

// The information window: name, logo, description and the version of the running executable.
class TfrmSobre : public Formulario {
 public:
  explicit TfrmSobre(AplicacaoJanelas& AAplicacao);

  // Runs FormShow, then shows the window modally until it is closed.
  int ShowModal();
  void FormShow();
  void btnFecharClick();

 protected:
  void AoClicar(std::string_view AControle) override;

 private:
  void MostrarVersao();
};

}  // namespace tolvane
