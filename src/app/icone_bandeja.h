#pragma once

#include <memory>
#include <string>

#include "app/janela.h"

namespace tolvane {

// The main window's tray-icon component TrayIcon1: its tooltip, its presence in the notification
// area and hiding the main window to it. The menu is the window's PopupMenu1, opened by the
// right button; the frontend re-adds the icon when the notification area is rebuilt.
class IconeBandeja {
 public:
  IconeBandeja(Janela& AMainForm, std::unique_ptr<Bandeja> ABandeja);

  // The tooltip: only its first 127 characters are shown.
  void SetHint(const std::string& AHint);
  const std::string& Hint() const { return FHint; }

  // True adds the icon, with the current tooltip; false removes it.
  void SetIconVisible(bool AVisivel);
  bool IconVisible() const { return FBandeja->Present(); }

  // Hides the main window (and with it the taskbar button); the icon stays.
  void HideMainForm();

 private:
  Janela& FMainForm;
  std::unique_ptr<Bandeja> FBandeja;
  std::string FHint;
};

}  // namespace tolvane
