#pragma once

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

namespace tolvane {

class AplicacaoQt;

// The notice window: one text, in the plain mode alone, in the acknowledgement mode with a check
// box that enables OK. It frees itself when it closes.
class TfrmMensagemConfirmarGenerica : public QWidget {
 public:
  TfrmMensagemConfirmarGenerica();

  QLabel* lblMensagem;
  QCheckBox* ckbConcordo;
  QFrame* Panel1;
  QPushButton* btnOk;

  void btnOkClick();
  void ckbConcordoClick();

 protected:
  void closeEvent(QCloseEvent* AEvento) override;  // FormClose
};

// The notice window created last; empty before the first one and after one has closed.
extern QPointer<TfrmMensagemConfirmarGenerica> frmMensagemConfirmarGenerica;

// Creates a notice window, shows it modeless at the top-left corner, shapes it for the mode
// (outer size 540 x 200 with acknowledgement, 540 x 80 without), puts the text in and lets waiting
// messages through so it is drawn. With AFecharAutomatico it then blocks five seconds (no messages
// are processed) and closes the window.
void MostrarAviso(AplicacaoQt& AAplicacao, const QString& ATexto, bool AComConfirmacao,
                  bool AFecharAutomatico);

}  // namespace tolvane
