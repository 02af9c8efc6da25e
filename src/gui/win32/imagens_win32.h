#pragma once

#include "gui/win32/recurso.h"

namespace tolvane {

// A picture compiled into the program (recursos.h), decoded with the Windows Imaging Component
// and scaled to ALargura x AAltura, as a 32-bit top-down DIB section with premultiplied alpha.
// With AFundoTransparente the pixels of the bitmaps' magenta background become transparent.
// Needs COM on the thread. Throws when the resource is missing or cannot be decoded.
BitmapUnico CarregarImagem(int ARecurso, int ALargura, int AAltura,
                           bool AFundoTransparente = false);

// The AColuna-th 16 x 16 picture of a strip of pictures side by side (counting from 0), scaled to
// ALado x ALado.
BitmapUnico CarregarImagemDaTira(int ARecurso, int AColuna, int ALado, bool AFundoTransparente);

}  // namespace tolvane
