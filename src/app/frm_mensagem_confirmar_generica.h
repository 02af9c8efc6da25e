#pragma once

#include <string>

#include "app/formulario.h"

namespace tolvane {

// The notice window: one text, in the plain mode alone, in the acknowledgement mode with a check
// box that enables OK. It frees itself when it closes.
class TfrmMensagemConfirmarGenerica : public Formulario {
 public:
  explicit TfrmMensagemConfirmarGenerica(AplicacaoJanelas& AAplicacao);

  void btnOkClick();
  void ckbConcordoClick();

 protected:
  void AoClicar(std::string_view AControle) override;
  void AoFechar() override;  // FormClose: freed, and the reference cleared
};

// The notice window created last; null before the first one and after one has closed.
extern TfrmMensagemConfirmarGenerica* frmMensagemConfirmarGenerica;

// Creates a notice window, shows it modeless at the top-left corner, shapes it for the mode
// (outer size 540 x 200 with acknowledgement, 540 x 80 without), puts the text in and lets
// waiting messages through once, so that it is drawn. With AFecharAutomatico it then blocks five
// seconds (no message is processed) and closes the window.
void MostrarAviso(AplicacaoJanelas& AAplicacao, const std::string& ATexto, bool AComConfirmacao,
                  bool AFecharAutomatico);

}  // namespace tolvane
