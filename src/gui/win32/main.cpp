// tolvane Gestor: the tray utility beside the tolvane Empresa ERP.

#include "platform/win32/utf16.h"

#include <memory>

#include "app/entrada.h"
#include "gui/win32/aplicacao_win32.h"
#include "platform/biblioteca.h"

using namespace tolvane;

int WINAPI wWinMain(HINSTANCE AInstancia, HINSTANCE, PWSTR, int) {
  RestringirBuscaBibliotecas();
  // The system reads no command line.
  return Entrada([&] { return std::make_unique<AplicacaoWin32>(AInstancia); });
}
