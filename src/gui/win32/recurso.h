#pragma once

// One owner for every Win32 handle of the frontend: the handle, and the function that frees it,
// fixed at compile time. Each use is named once here; no window, font, picture or COM object is
// freed by hand.

#include "platform/win32/utf16.h"

#include <commctrl.h>
#include <objbase.h>

#include <memory>
#include <type_traits>

namespace tolvane {

template <typename H, auto ALiberar>
struct LiberarHandle {
  using pointer = H;
  void operator()(H AHandle) const noexcept {
    if (AHandle) ALiberar(AHandle);
  }
};

template <typename H, auto ALiberar>
using HandleUnico = std::unique_ptr<std::remove_pointer_t<H>, LiberarHandle<H, ALiberar>>;

inline void ExcluirObjetoGdi(HGDIOBJ AObjeto) noexcept { DeleteObject(AObjeto); }

using JanelaUnica = HandleUnico<HWND, DestroyWindow>;
using FonteUnica = HandleUnico<HFONT, ExcluirObjetoGdi>;
using BitmapUnico = HandleUnico<HBITMAP, ExcluirObjetoGdi>;
using IconeUnico = HandleUnico<HICON, DestroyIcon>;
using MenuUnico = HandleUnico<HMENU, DestroyMenu>;
using ListaImagensUnica = HandleUnico<HIMAGELIST, ImageList_Destroy>;
inline void LiberarMemoriaGlobal(HGLOBAL AMemoria) noexcept { GlobalFree(AMemoria); }
using MemoriaGlobalUnica = HandleUnico<HGLOBAL, LiberarMemoriaGlobal>;

// A COM interface pointer, released once.
struct LiberarCom {
  void operator()(IUnknown* AObjeto) const noexcept { AObjeto->Release(); }
};
template <typename T>
using ComUnico = std::unique_ptr<T, LiberarCom>;

}  // namespace tolvane
