#include "platform/espera_programa.h"

#include <algorithm>
#include <thread>

#include "platform/win32/handle_unico.h"
#include "platform/win32/utf16.h"

namespace tolvane {

namespace {

enum class Estado { Livre, EmUso };

// A running executable is mapped as an image, which Windows never lets anyone open for writing:
// the file can be replaced once that open succeeds. A file that is missing or refused for another
// reason (read-only, no rights) is not waited for: the replacement reports the cause.
Estado EstadoExecutavel(const std::wstring& ACaminho) {
  const HANDLE h = CreateFileW(ACaminho.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h != INVALID_HANDLE_VALUE) {
    const HandleKernelUnico arquivo(h);
    return Estado::Livre;
  }
  const DWORD e = GetLastError();
  return e == ERROR_SHARING_VIOLATION || e == ERROR_LOCK_VIOLATION ? Estado::EmUso : Estado::Livre;
}

}  // namespace

// The starter is not looked up: whoever still runs the executable keeps it from being replaced,
// and that is what the wait is for.
bool EsperarFimPrograma(const std::string& ACaminhoExecutavel, std::chrono::milliseconds ALimite) {
  using namespace std::chrono;
  const std::wstring caminho = ParaUtf16(ACaminhoExecutavel);
  const auto limite = steady_clock::now() + ALimite;
  while (EstadoExecutavel(caminho) == Estado::EmUso) {
    const auto agora = steady_clock::now();
    if (agora >= limite) return false;
    std::this_thread::sleep_for(std::min<steady_clock::duration>(milliseconds(50), limite - agora));
  }
  return true;
}

}  // namespace tolvane
