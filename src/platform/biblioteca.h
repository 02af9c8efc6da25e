#pragma once

#include <string>

namespace tolvane {

// A shared library loaded at run time, unloaded when the object goes (Linux: dlopen; Windows:
// LoadLibraryW). The file name is searched for by the system's own rules.
class Biblioteca {
 public:
  // Loads the library; Carregada() tells whether it was found and loaded.
  explicit Biblioteca(const std::string& ANome);
  ~Biblioteca();
  Biblioteca(const Biblioteca&) = delete;
  Biblioteca& operator=(const Biblioteca&) = delete;

  bool Carregada() const noexcept { return FHandle != nullptr; }

  // The system's text for a failed load (empty after a successful one).
  const std::string& ErroCarga() const noexcept { return FErro; }

  // Address of an exported function, typed by the caller (decltype(&funcao)); nullptr when the
  // library does not export it or is not loaded.
  template <class F>
  F Funcao(const char* ANome) const noexcept {
    return reinterpret_cast<F>(Simbolo(ANome));
  }

 private:
  // "void (*)()" is the type that any function pointer may be cast to and from.
  using FuncaoGenerica = void (*)();
  FuncaoGenerica Simbolo(const char* ANome) const noexcept;

  void* FHandle = nullptr;
  std::string FErro;
};

}  // namespace tolvane
