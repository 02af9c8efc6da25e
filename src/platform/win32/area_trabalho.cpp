#include "platform/area_trabalho.h"

#include <shlobj.h>

#include <memory>

#include "platform/win32/utf16.h"

namespace tolvane {

std::string PastaAreaTrabalho() {
  PIDLIST_ABSOLUTE bruto = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOPDIRECTORY, &bruto)) || !bruto)
    return {};
  const std::unique_ptr<ITEMIDLIST, decltype(&CoTaskMemFree)> lista(bruto, CoTaskMemFree);
  wchar_t caminho[MAX_PATH] = {};
  if (!SHGetPathFromIDListW(lista.get(), caminho)) return {};
  std::wstring r(caminho);
  while (!r.empty() && r.back() == L'\\') r.pop_back();
  return DeUtf16(r);
}

}  // namespace tolvane
