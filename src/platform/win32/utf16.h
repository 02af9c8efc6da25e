#pragma once

// UTF-8 <-> UTF-16 at the edge of the Win32 calls, through the core's one codec (and so its one
// replacement policy). The one header of the build that includes windows.h: the macros that
// collide with the system's names are undone here.

#include <windows.h>
#undef MessageBox

#include <string>
#include <string_view>

#include "core/utf8.h"

namespace tolvane {

inline std::wstring ParaUtf16(std::string_view AUtf8) {
  const std::u16string r = Utf16DeUtf8(AUtf8);
  return std::wstring(r.begin(), r.end());
}

inline std::string DeUtf16(std::wstring_view AUtf16) {
  return Utf8DeUtf16(std::u16string(AUtf16.begin(), AUtf16.end()));
}

}  // namespace tolvane
