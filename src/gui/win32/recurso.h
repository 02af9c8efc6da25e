#pragma once

// The frontend's Win32 handles, each use named once here over the one owner of
// platform/win32/handle_unico.h: no window, font, picture or COM object is freed by hand.

#include "platform/win32/handle_unico.h"
#include "platform/win32/utf16.h"

#include <commctrl.h>

namespace tolvane {

inline void ExcluirObjetoGdi(HGDIOBJ AObjeto) noexcept { DeleteObject(AObjeto); }

using JanelaUnica = HandleUnico<HWND, DestroyWindow>;
using FonteUnica = HandleUnico<HFONT, ExcluirObjetoGdi>;
using BitmapUnico = HandleUnico<HBITMAP, ExcluirObjetoGdi>;
using IconeUnico = HandleUnico<HICON, DestroyIcon>;
using MenuUnico = HandleUnico<HMENU, DestroyMenu>;
using ListaImagensUnica = HandleUnico<HIMAGELIST, ImageList_Destroy>;
inline void LiberarMemoriaGlobal(HGLOBAL AMemoria) noexcept { GlobalFree(AMemoria); }
using MemoriaGlobalUnica = HandleUnico<HGLOBAL, LiberarMemoriaGlobal>;

}  // namespace tolvane
