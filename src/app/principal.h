#pragma once

#include <string>

#include "app/janela_principal.h"
#include "core/aplicacao.h"

namespace tolvane {

// The logic of the main window TfrmPrincipal: the start-up sequence and the handlers that do more
// than move windows. The frontend's window owns one and calls it from its own handlers.
class Principal {
 public:
  Principal(Aplicacao& AAplicacao, JanelaPrincipal& AJanela);
  Principal(const Principal&) = delete;
  Principal& operator=(const Principal&) = delete;

  // The start-up sequence, run while the main window is created. An error that a step does not
  // handle itself goes to the default error display; the later steps are skipped, so the main
  // window stays hidden, and the program runs on in the tray.
  void FormCreate();

  // "&Sair": closes the database connection, lets waiting messages through and requests the end.
  // An error while closing goes to the default error display and the program runs on.
  void Sair1Click();

 private:
  Aplicacao& FAplicacao;
  JanelaPrincipal& FJanela;
};

}  // namespace tolvane
