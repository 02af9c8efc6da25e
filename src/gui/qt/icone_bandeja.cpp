#include "gui/qt/icone_bandeja.h"

#include <cstdio>

#include "gui/qt/imagens.h"

namespace tolvane {

IconeBandeja::IconeBandeja(QWidget& AMainForm, QMenu& APopupMenu) : FMainForm(AMainForm) {
  FIcone.setIcon(IconePrograma());
  FIcone.setContextMenu(&APopupMenu);
}

void IconeBandeja::SetHint(const QString& AHint) { FIcone.setToolTip(AHint.left(127)); }

void IconeBandeja::SetIconVisible(bool AVisivel) {
  if (AVisivel && !FIcone.isVisible() && !QSystemTrayIcon::isSystemTrayAvailable())
    std::fprintf(stderr,
                 "tolvaneGestor: no system tray is running; the icon appears when one starts.\n");
  FIcone.setVisible(AVisivel);
}

void IconeBandeja::HideMainForm() { FMainForm.hide(); }

}  // namespace tolvane
