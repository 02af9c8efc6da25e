#include "platform/biblioteca.h"

#include <dlfcn.h>

namespace tolvane {

void RestringirBuscaBibliotecas() noexcept {}

Biblioteca::Biblioteca(const std::string& ANome, OrigemBiblioteca) {
  // RTLD_NODELETE: a library stays mapped after its last close. The libraries loaded here (the
  // database client, libcurl, OpenSSL) start threads and register exit handlers of their own, and
  // unmapping them while the process ends would leave those pointing at nothing.
  FHandle = dlopen(ANome.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
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
