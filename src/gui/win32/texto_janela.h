#pragma once

#include <string>

#include "platform/win32/utf16.h"

namespace tolvane {

// The text of a window of this process, as UTF-16.
inline std::wstring TextoJanela(HWND AJanela) {
  std::wstring texto(static_cast<std::size_t>(GetWindowTextLengthW(AJanela)) + 1, L'\0');
  texto.resize(static_cast<std::size_t>(
      GetWindowTextW(AJanela, texto.data(), static_cast<int>(texto.size()))));
  return texto;
}

}  // namespace tolvane
