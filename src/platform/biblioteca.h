#pragma once

#include <string>

namespace tolvane {

// Where a library loaded at run time is looked for.
enum class OrigemBiblioteca {
  // The system's own libraries: on Windows the system folder only (System32, which Windows maps
  // to SysWOW64 for a 32-bit program on 64-bit Windows), never the program's folder, the current
  // directory or PATH, where anyone who can write there could plant a copy; on Linux the
  // loader's search.
  Sistema,
  // A library that comes with the program's neighbours (the ERP's database client): on Windows
  // the program's folder, then the system folder, never the current directory or PATH; its own
  // dependencies are taken from its folder first. On Linux the loader's search.
  ProgramaOuSistema,
};

// Before anything else loads a library: the libraries that the process loads later by a bare
// name (the system's own loads on the program's behalf included) come from the system folder
// only. Windows: SetDefaultDllDirectories where the system has it, else the current directory
// taken out of the search (SetDllDirectoryW). Linux: nothing to do.
void RestringirBuscaBibliotecas() noexcept;

// A shared library loaded at run time, unloaded when the object goes (Linux: dlopen; Windows:
// LoadLibraryExW by the full path of each folder that AOrigem names, in order).
class Biblioteca {
 public:
  // Loads the library; Carregada() tells whether it was found and loaded.
  Biblioteca(const std::string& ANome, OrigemBiblioteca AOrigem);
  ~Biblioteca();
  Biblioteca(const Biblioteca&) = delete;
  Biblioteca& operator=(const Biblioteca&) = delete;

  bool Carregada() const noexcept { return FHandle != nullptr; }

  // The system's text for a failed load (empty after a successful one).
  const std::string& ErroCarga() const noexcept { return FErro; }

  // After a failed load: one sentence in Portuguese that names a file of that name in the
  // searched folders and says why this program cannot load it, a library of the other
  // architecture or no Windows library at all (DescreverBibliotecaInutilizavel,
  // platform/cabecalho_pe.h). Empty after a successful load, when no such file is there, or when
  // the file's kind does not explain the failure (a dependency of its own missing, say). Linux:
  // always empty; dlopen's own text already names a library of the wrong class ("wrong ELF
  // class: ELFCLASS32"), and the loader's search is not repeated here.
  const std::string& ArquivoInutilizavel() const noexcept { return FArquivoInutilizavel; }

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
  std::string FArquivoInutilizavel;
};

}  // namespace tolvane
