#pragma once

// The new file of a whole-file replacement, shared by the replacement of a file's content and the
// replacement of the executable: created under a unique name beside its target, written through
// its handle, flushed, and renamed over the target. Until it is in place, the destructor removes
// it, so no failure leaves it behind.

#include <string>

#include "platform/win32/handle_unico.h"
#include "platform/win32/utf16.h"

namespace tolvane {

class ArquivoTemporario {
 public:
  ArquivoTemporario() = default;
  ~ArquivoTemporario();
  ArquivoTemporario(const ArquivoTemporario&) = delete;
  ArquivoTemporario& operator=(const ArquivoTemporario&) = delete;

  // Creates the file beside ADestino (UTF-8), open for writing and shared with no one. A name
  // that exists already is never written through: another unique name is tried. Returns 0, or
  // the system's error code.
  DWORD Criar(const std::string& ADestino);

  HANDLE Handle() const { return FArquivo.get(); }

  // The file's own path (UTF-8) until it is in place.
  std::string Caminho() const { return DeUtf16(FCaminho); }

  // Writes all of ATamanho bytes; 0, or the system's error code.
  DWORD Gravar(const char* ADados, std::size_t ATamanho);

  // Flushes the bytes to the disk and closes the file; 0, or the system's error code.
  DWORD Fechar();

  // Renames the closed file over its target, replacing it, once the rename is on the disk too;
  // 0, or the system's error code (the target in use, the folder read-only ...).
  DWORD ColocarNoLugar();

 private:
  std::wstring FCaminho;
  std::wstring FDestino;
  HandleKernelUnico FArquivo;
};

}  // namespace tolvane
