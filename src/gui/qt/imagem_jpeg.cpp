#include "gui/qt/imagem_jpeg.h"

#include <csetjmp>
#include <cstdio>
// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

namespace tolvane {

namespace {

// libjpeg reports a fatal error through error_exit, which must not return; jump back out of the
// decoder instead of letting it end the process.
struct ErroJpeg {
  jpeg_error_mgr Padrao;
  std::jmp_buf Retorno;
};

[[noreturn]] void SairComErro(j_common_ptr AInfo) {
  std::longjmp(reinterpret_cast<ErroJpeg*>(AInfo->err)->Retorno, 1);
}

void IgnorarMensagem(j_common_ptr) {}

struct Descompressor {
  jpeg_decompress_struct Info{};
  Descompressor() { jpeg_create_decompress(&Info); }
  ~Descompressor() { jpeg_destroy_decompress(&Info); }
  Descompressor(const Descompressor&) = delete;
  Descompressor& operator=(const Descompressor&) = delete;
};

}  // namespace

QImage DecodificarJpeg(const QByteArray& ADados) {
  ErroJpeg erro{};
  Descompressor d;
  d.Info.err = jpeg_std_error(&erro.Padrao);
  erro.Padrao.error_exit = SairComErro;
  erro.Padrao.output_message = IgnorarMensagem;
  QImage imagem;  // declared before setjmp so the jump leaves nothing half-built behind
  if (setjmp(erro.Retorno)) return QImage();

  jpeg_mem_src(&d.Info, reinterpret_cast<const unsigned char*>(ADados.constData()),
               static_cast<unsigned long>(ADados.size()));
  if (jpeg_read_header(&d.Info, TRUE) != JPEG_HEADER_OK) return QImage();
  d.Info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&d.Info);
  imagem = QImage(static_cast<int>(d.Info.output_width), static_cast<int>(d.Info.output_height),
                  QImage::Format_RGB888);
  while (d.Info.output_scanline < d.Info.output_height) {
    JSAMPROW linha = imagem.scanLine(static_cast<int>(d.Info.output_scanline));
    jpeg_read_scanlines(&d.Info, &linha, 1);
  }
  jpeg_finish_decompress(&d.Info);
  return imagem;
}

}  // namespace tolvane
