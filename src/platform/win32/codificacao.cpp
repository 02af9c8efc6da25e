#include "platform/codificacao.h"

#include "platform/win32/utf16.h"

namespace tolvane {

std::string ParaAnsi(std::string_view AUtf8) {
  const std::wstring w = ParaUtf16(AUtf8);
  if (w.empty()) return {};
  const int n = WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string r(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), r.data(), n, nullptr,
                      nullptr);
  return r;
}

std::string DeAnsi(std::string_view AAnsi) {
  if (AAnsi.empty()) return {};
  const int n =
      MultiByteToWideChar(CP_ACP, 0, AAnsi.data(), static_cast<int>(AAnsi.size()), nullptr, 0);
  std::wstring w(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, AAnsi.data(), static_cast<int>(AAnsi.size()), w.data(), n);
  return DeUtf16(w);
}

}  // namespace tolvane
