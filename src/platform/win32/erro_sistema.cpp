#include "platform/erro_sistema.h"

#include <memory>

#include "platform/win32/utf16.h"

namespace tolvane {

std::string TextoErroSistema(int ACodigo) {
  wchar_t* texto = nullptr;
  FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(ACodigo), 0, reinterpret_cast<wchar_t*>(&texto), 0, nullptr);
  const std::unique_ptr<wchar_t, decltype(&LocalFree)> guarda(texto, LocalFree);
  return TextoSistemaAparado(texto ? DeUtf16(texto) : std::string());
}

Erro ErroSistemaOperacional(int ACodigo) {
  return ErroSistemaOperacional(ACodigo, TextoErroSistema(ACodigo));
}

}  // namespace tolvane
