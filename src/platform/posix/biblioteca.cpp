#include "platform/biblioteca.h"

#include <dlfcn.h>

namespace tolvane {

Biblioteca::Biblioteca(const std::string& ANome) {
  FHandle = dlopen(ANome.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!FHandle) {
    const char* erro = dlerror();
    FErro = erro ? erro : ANome;
  }
}

Biblioteca::~Biblioteca() {
  if (FHandle) dlclose(FHandle);
}

Biblioteca::FuncaoGenerica Biblioteca::Simbolo(const char* ANome) const noexcept {
  if (!FHandle) return nullptr;
  return reinterpret_cast<FuncaoGenerica>(dlsym(FHandle, ANome));
}

}  // namespace tolvane
