#pragma once

#include <functional>
#include <memory>

#include "app/aplicacao_janelas.h"

namespace tolvane {

// The program's entry: the single-instance guard, then the application object that
// ACriarAplicacao makes, the main window and its tray icon, and the message loop. Returns the
// exit code (0: the guard's warning and the normal end; fatal start-up failures end the process
// inside).
int Entrada(const std::function<std::unique_ptr<AplicacaoJanelas>()>& ACriarAplicacao);

}  // namespace tolvane
