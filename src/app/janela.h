#pragma once

#include <string>
#include <string_view>

namespace tolvane {

// What the flows ask of one window that a frontend built from its layout (app/layout.h). The
// window is created hidden. Controls are named as in the layout; a name that the layout does
// not have is a programming error and does nothing.
class Janela {
 public:
  virtual ~Janela() = default;

  // Makes the window visible, modeless, and returns once it is on the screen (a window manager
  // may take a moment to frame and map it): at its designed place, or centred in the work area.
  virtual void Show() = 0;
  virtual void Hide() = 0;
  virtual bool Visible() const = 0;

  // Shows the window modally (to the system's windows shown before it) and runs its modal loop
  // until it is closed; a request to end the program closes it too. Returns the modal result,
  // kMrCancel for a closed window.
  virtual int ShowModal() = 0;

  // Closes the window: hidden, a running modal loop ends, and the form's FormClose runs.
  virtual void Close() = 0;

  // Outer size, title bar and borders included; the client area takes what is left.
  virtual void SetOuterSize(int ALargura, int AAltura) = 0;

  // Paints the window's invalid parts now, before the call returns.
  virtual void Repaint() = 0;

  // The restore rule's and the foreground rule's share of the window.
  virtual bool Minimized() const = 0;
  virtual void ShowNormal() = 0;
  virtual void BringToFront() = 0;

  // Controls.
  virtual void SetText(std::string_view AControle, const std::string& ATexto) = 0;
  virtual std::string Text(std::string_view AControle) const = 0;
  virtual void SetVisible(std::string_view AControle, bool AVisivel) = 0;
  virtual void SetEnabled(std::string_view AControle, bool AHabilitado) = 0;
  virtual bool Enabled(std::string_view AControle) const = 0;
  virtual bool Checked(std::string_view AControle) const = 0;
  virtual void RepaintControl(std::string_view AControle) = 0;
  // A combo box: Clear empties its list and its text; AddItem appends and chooses nothing.
  virtual void ClearItems(std::string_view AControle) = 0;
  virtual void AddItem(std::string_view AControle, const std::string& AItem) = 0;
};

// Modal results.
inline constexpr int kMrCancel = 2;

// What a window tells the form it belongs to. The frontend calls these from its event wiring
// only; they never throw (an error goes to the default error display inside).
class EventosJanela {
 public:
  virtual ~EventosJanela() = default;

  // A button, check box or menu item of the layout was clicked or chosen.
  virtual void Click(std::string_view AControle) noexcept = 0;

  // The user asked to close the window (close box, Alt+F4, the window manager). Returns true
  // when the window closes.
  virtual bool CloseQuery() noexcept = 0;

  // The window has been closed (by the user or by Close).
  virtual void FormClose() noexcept = 0;
};

// The tray-icon component's share of the notification area: one icon with a tooltip and the
// pop-up menu of the window's layout.
class Bandeja {
 public:
  virtual ~Bandeja() = default;

  virtual void SetHint(const std::string& AHint) = 0;
  // True adds the icon (with the current tooltip), false removes it.
  virtual void SetPresent(bool APresente) = 0;
  virtual bool Present() const = 0;
};

}  // namespace tolvane
