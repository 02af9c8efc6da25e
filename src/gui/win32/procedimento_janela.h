#pragma once

// The one window procedure of the frontend's windows: a thin trampoline from the system's C frame
// to a member of the object that owns the window.

#include "platform/win32/utf16.h"

#include <exception>

#include "core/aplicacao.h"
#include "core/erro.h"

namespace tolvane {

// Shows the exception being handled (called in a catch block only) with the application's
// default error display; one of no standard type, which has no text, as "Erro desconhecido".
// Never throws: should the display fail too (no memory left for its text), nobody is left to
// tell.
inline void MostrarExcecaoAtual(Aplicacao& AAplicacao) noexcept {
  try {
    try {
      throw;
    } catch (const std::exception& e) {
      AAplicacao.MostrarErro(e);
    } catch (...) {
      AAplicacao.MostrarErro(ErroGeral("Erro desconhecido"));
    }
  } catch (...) {
  }
}

// The window procedure of the windows whose object is a TJanela, each created with its object as
// CreateWindowExW's last argument. The object is kept in the window's user data at WM_NCCREATE,
// and every message then goes to its Tratar. An exception that leaves Tratar goes to the default
// error display of the object's application and the message counts as handled (0): none crosses
// this C frame into the system's code, which cannot unwind it. TJanela gives this function, its
// friend:
//   HWND Handle() const                   the window it holds: null until CreateWindowExW has
//                                         returned and again while the window is destroyed, when
//                                         the messages are the system's alone
//   LRESULT Tratar(UINT, WPARAM, LPARAM)  its handling of a message to that window
//   Aplicacao& AplicacaoDaJanela()        whose default error display shows what leaves Tratar
template <typename TJanela>
LRESULT CALLBACK ProcedimentoJanela(HWND AJanela, UINT AMensagem, WPARAM AW, LPARAM AL) noexcept {
  if (AMensagem == WM_NCCREATE) {
    const auto* criacao = reinterpret_cast<const CREATESTRUCTW*>(AL);
    SetWindowLongPtrW(AJanela, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(criacao->lpCreateParams));
  }
  auto* objeto = reinterpret_cast<TJanela*>(GetWindowLongPtrW(AJanela, GWLP_USERDATA));
  if (!objeto || objeto->Handle() != AJanela) return DefWindowProcW(AJanela, AMensagem, AW, AL);
  try {
    return objeto->Tratar(AMensagem, AW, AL);
  } catch (...) {
    MostrarExcecaoAtual(objeto->AplicacaoDaJanela());
  }
  return 0;
}

}  // namespace tolvane
