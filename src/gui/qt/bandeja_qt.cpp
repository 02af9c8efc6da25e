#include "gui/qt/bandeja_qt.h"

#include <cstdio>

#include "gui/qt/imagens.h"

namespace tolvane {

BandejaQt::BandejaQt(QMenu& AMenu) {
  FIcone.setIcon(IconePrograma());
  FIcone.setContextMenu(&AMenu);
}

void BandejaQt::SetHint(const std::string& AHint) {
  FIcone.setToolTip(QString::fromStdString(AHint));
}

void BandejaQt::SetPresent(bool APresente) {
  if (APresente && !QSystemTrayIcon::isSystemTrayAvailable())
    std::fprintf(stderr,
                 "tolvaneGestor: no system tray is running; the icon appears when one starts.\n");
  FIcone.setVisible(APresente);
}

}  // namespace tolvane
