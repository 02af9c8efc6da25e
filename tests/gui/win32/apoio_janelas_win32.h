// What the in-process tests of the Win32 windows share: a form that answers no event, and the
// place and font of a control as Windows reports them.
#pragma once

#include <windows.h>
#undef MessageBox

#include <string_view>

#include "app/janela.h"

namespace tolvane::teste {

struct SemEventos : EventosJanela {
  void Click(std::string_view) noexcept override {}
  bool CloseQuery() noexcept override { return true; }
  void FormClose() noexcept override {}
};

// The control's place in its parent and its size.
inline RECT Lugar(HWND AControle) {
  RECT r{};
  GetWindowRect(AControle, &r);
  MapWindowPoints(nullptr, GetParent(AControle), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// The font the control draws its text with.
inline LOGFONTW FonteDe(HWND AControle) {
  LOGFONTW fonte{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(AControle, WM_GETFONT, 0, 0)), sizeof fonte,
             &fonte);
  return fonte;
}

}  // namespace tolvane::teste
