#include "gui/qt/imagem_png.h"

#include <png.h>

namespace tolvane {

QImage DecodificarPng(const QByteArray& ADados) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&png, ADados.constData(),
                                        static_cast<png_size_t>(ADados.size())))
    return {};
  // Byte order R, G, B, A whatever the machine's: the layout of Format_RGBA8888.
  png.format = PNG_FORMAT_RGBA;
  QImage imagem(static_cast<int>(png.width), static_cast<int>(png.height), QImage::Format_RGBA8888);
  if (imagem.isNull() ||
      !png_image_finish_read(&png, nullptr, imagem.bits(),
                             static_cast<png_int_32>(imagem.bytesPerLine()), nullptr)) {
    png_image_free(&png);
    return {};
  }
  return imagem;
}

}  // namespace tolvane
