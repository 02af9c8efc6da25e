#pragma once

#include <QMenu>
#include <QSystemTrayIcon>
#include <QWidget>

namespace tolvane {

// The tray icon of the main window: its tooltip, its presence, and hiding the main window to it.
// The menu opens on the right button only; the left and middle buttons do nothing. Qt re-adds
// the icon when the tray host restarts.
class IconeBandeja {
 public:
  IconeBandeja(QWidget& AMainForm, QMenu& APopupMenu);

  // The tooltip: only its first 127 characters are shown.
  void SetHint(const QString& AHint);
  QString Hint() const { return FIcone.toolTip(); }

  // True adds the icon, with the current tooltip; false removes it.
  void SetIconVisible(bool AVisivel);
  bool IconVisible() const { return FIcone.isVisible(); }

  // Hides the main window; the icon stays.
  void HideMainForm();

 private:
  QWidget& FMainForm;
  QSystemTrayIcon FIcone;
};

}  // namespace tolvane
