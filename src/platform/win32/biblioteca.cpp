#include "platform/biblioteca.h"

#include "platform/win32/utf16.h"

namespace tolvane {

Biblioteca::Biblioteca(const std::string& ANome) {
  FHandle = LoadLibraryW(ParaUtf16(ANome).c_str());
  if (!FHandle) FErro = "LoadLibrary error " + std::to_string(GetLastError());
}

Biblioteca::~Biblioteca() {
  if (FHandle) FreeLibrary(static_cast<HMODULE>(FHandle));
}

Biblioteca::FuncaoGenerica Biblioteca::Simbolo(const char* ANome) const noexcept {
  if (!FHandle) return nullptr;
  return reinterpret_cast<FuncaoGenerica>(GetProcAddress(static_cast<HMODULE>(FHandle), ANome));
}

}  // namespace tolvane
