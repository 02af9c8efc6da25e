#pragma once

// UTF-8 <-> UTF-16 at the edge of the Win32 calls.

#include <windows.h>

#include <string>
#include <string_view>

namespace tolvane {

inline std::wstring ParaUtf16(std::string_view AUtf8) {
  if (AUtf8.empty()) return {};
  const int n =
      MultiByteToWideChar(CP_UTF8, 0, AUtf8.data(), static_cast<int>(AUtf8.size()), nullptr, 0);
  std::wstring r(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, AUtf8.data(), static_cast<int>(AUtf8.size()), r.data(), n);
  return r;
}

inline std::string DeUtf16(std::wstring_view AUtf16) {
  if (AUtf16.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, AUtf16.data(), static_cast<int>(AUtf16.size()),
                                    nullptr, 0, nullptr, nullptr);
  std::string r(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, AUtf16.data(), static_cast<int>(AUtf16.size()), r.data(), n,
                      nullptr, nullptr);
  return r;
}

}  // namespace tolvane
