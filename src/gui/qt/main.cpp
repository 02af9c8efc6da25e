// tolvane Gestor: the tray utility beside the tolvane Empresa ERP.

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "app/entrada.h"
#include "gui/qt/aplicacao_qt.h"
#include "gui/qt/janela_aplicacao_x11.h"

using namespace tolvane;

int main(int argc, char** argv) {
  // The application window, the single-instance guard and the tray live on X11.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "xcb");
  if (!ConectarTela()) {
    std::fprintf(stderr, "tolvaneGestor: cannot open the X display (DISPLAY=%s).\n",
                 std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "");
    return kSaidaFalhaFatal;
  }
  std::optional<QApplication> qt;
  return Entrada([&] {
    qt.emplace(argc, argv);
    return std::make_unique<AplicacaoQt>(*qt);
  });
}
