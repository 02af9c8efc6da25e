#pragma once

#include <QMenu>
#include <QSystemTrayIcon>

#include "app/janela.h"

namespace tolvane {

// The tray icon on Qt: the program's icon with the window's pop-up menu, opened by the right
// button only (the left and middle buttons do nothing). Qt re-adds the icon when the tray host
// restarts.
class BandejaQt : public Bandeja {
 public:
  explicit BandejaQt(QMenu& AMenu);

  void SetHint(const std::string& AHint) override;
  void SetPresent(bool APresente) override;
  bool Present() const override { return FIcone.isVisible(); }

  QString Dica() const { return FIcone.toolTip(); }

 private:
  QSystemTrayIcon FIcone;
};

}  // namespace tolvane
