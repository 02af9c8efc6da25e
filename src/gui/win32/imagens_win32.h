#pragma once

#include "app/layout.h"
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

// A button's picture (Figura::SetaBaixo or Figura::Ok) and its picture for the disabled state, as
// the two functions above make them at ALado x ALado. At the sides of the usual DPIs they come
// ready from the program's resources (made at build time by figuras_botao.py) and the system
// loads them without a codec or COM, which the start of the program does not otherwise need; at
// any other side they are decoded and scaled. Throws as CarregarImagem.
struct FigurasBotao {
  BitmapUnico Normal;
  BitmapUnico Desabilitada;
};
FigurasBotao CarregarFigurasBotao(Figura AFigura, int ALado);

}  // namespace tolvane
