#pragma once

#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "gui/qt/rotulo_sombra.h"

namespace tolvane {

class AplicacaoQt;

// The information window: name, logo, description and the version of the running executable.
class TfrmSobre : public QDialog {
 public:
  explicit TfrmSobre(AplicacaoQt& AAplicacao);

  QFrame* Bevel4;
  QLabel* lblVersao;
  RotuloSombra* RxLabel1;
  QLabel* Image1;
  QLabel* lblMensagem;
  QPushButton* btnFechar;

  void FormCreate() {}
  // Runs FormShow, centres the window in the work area and shows it modally.
  int ShowModal();
  void FormShow();
  void btnFecharClick();

 private:
  void MostrarVersao();

  AplicacaoQt& FAplicacao;
};

}  // namespace tolvane
