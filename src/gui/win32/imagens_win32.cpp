#include "gui/win32/imagens_win32.h"

#include <wincodec.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core/erro.h"
#include "gui/win32/recursos.h"
#include "platform/erro_sistema.h"

namespace tolvane {

namespace {

void Verificar(HRESULT AResultado) {
  if (FAILED(AResultado)) throw ErroSistemaOperacional(static_cast<int>(AResultado));
}

template <typename T>
ComUnico<T> Com(T* AObjeto) {
  return ComUnico<T>(AObjeto);
}

struct Pixels {
  UINT Largura = 0;
  UINT Altura = 0;
  std::vector<std::uint8_t> Bgra;  // premultiplied, top-down
};

// Decodes the resource with WIC, cuts the rectangle given (whole picture when empty) and scales
// it to the size asked.
Pixels Decodificar(int ARecurso, const WICRect* ARecorte, UINT ALargura, UINT AAltura,
                   bool AFundoTransparente) {
  HMODULE modulo = GetModuleHandleW(nullptr);
  HRSRC info = FindResourceW(modulo, MAKEINTRESOURCEW(ARecurso), MAKEINTRESOURCEW(10));
  HGLOBAL carregado = info ? LoadResource(modulo, info) : nullptr;
  const void* dados = carregado ? LockResource(carregado) : nullptr;
  if (!dados) throw ErroSistemaOperacional(static_cast<int>(GetLastError()));
  const DWORD tamanho = SizeofResource(modulo, info);

  IWICImagingFactory* fabricaBruta = nullptr;
  Verificar(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                             IID_PPV_ARGS(&fabricaBruta)));
  const auto fabrica = Com(fabricaBruta);

  IWICStream* fluxoBruto = nullptr;
  Verificar(fabrica->CreateStream(&fluxoBruto));
  const auto fluxo = Com(fluxoBruto);
  Verificar(fluxo->InitializeFromMemory(static_cast<BYTE*>(const_cast<void*>(dados)), tamanho));

  IWICBitmapDecoder* decodificadorBruto = nullptr;
  Verificar(fabrica->CreateDecoderFromStream(fluxo.get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                             &decodificadorBruto));
  const auto decodificador = Com(decodificadorBruto);
  IWICBitmapFrameDecode* quadroBruto = nullptr;
  Verificar(decodificador->GetFrame(0, &quadroBruto));
  const auto quadro = Com(quadroBruto);

  // Straight alpha first: the magenta key is a colour, not a premultiplied value.
  IWICFormatConverter* conversorBruto = nullptr;
  Verificar(fabrica->CreateFormatConverter(&conversorBruto));
  const auto conversor = Com(conversorBruto);
  Verificar(conversor->Initialize(quadro.get(), GUID_WICPixelFormat32bppBGRA,
                                  WICBitmapDitherTypeNone, nullptr, 0.0,
                                  WICBitmapPaletteTypeCustom));
  UINT largura = 0, altura = 0;
  Verificar(conversor->GetSize(&largura, &altura));
  const WICRect todo{0, 0, static_cast<INT>(largura), static_cast<INT>(altura)};
  const WICRect recorte = ARecorte ? *ARecorte : todo;

  std::vector<std::uint8_t> origem(static_cast<std::size_t>(recorte.Width) * recorte.Height * 4);
  Verificar(conversor->CopyPixels(&recorte, static_cast<UINT>(recorte.Width) * 4,
                                  static_cast<UINT>(origem.size()), origem.data()));
  for (std::size_t i = 0; i < origem.size(); i += 4) {
    std::uint8_t* p = &origem[i];
    if (AFundoTransparente && p[0] == 255 && p[1] == 0 && p[2] == 255) p[3] = 0;
    for (int c = 0; c < 3; ++c) p[c] = static_cast<std::uint8_t>(p[c] * p[3] / 255);
  }

  IWICBitmap* recortadoBruto = nullptr;
  Verificar(fabrica->CreateBitmapFromMemory(
      static_cast<UINT>(recorte.Width), static_cast<UINT>(recorte.Height),
      GUID_WICPixelFormat32bppPBGRA, static_cast<UINT>(recorte.Width) * 4,
      static_cast<UINT>(origem.size()), origem.data(), &recortadoBruto));
  const auto recortado = Com(recortadoBruto);

  Pixels r{ALargura, AAltura, {}};
  r.Bgra.resize(static_cast<std::size_t>(ALargura) * AAltura * 4);
  if (ALargura == static_cast<UINT>(recorte.Width) &&
      AAltura == static_cast<UINT>(recorte.Height)) {
    std::memcpy(r.Bgra.data(), origem.data(), r.Bgra.size());
    return r;
  }
  IWICBitmapScaler* escalaBruta = nullptr;
  Verificar(fabrica->CreateBitmapScaler(&escalaBruta));
  const auto escala = Com(escalaBruta);
  Verificar(escala->Initialize(recortado.get(), ALargura, AAltura, WICBitmapInterpolationModeFant));
  Verificar(
      escala->CopyPixels(nullptr, ALargura * 4, static_cast<UINT>(r.Bgra.size()), r.Bgra.data()));
  return r;
}

BitmapUnico ParaBitmap(const Pixels& APixels) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = static_cast<LONG>(APixels.Largura);
  info.bmiHeader.biHeight = -static_cast<LONG>(APixels.Altura);  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  BitmapUnico bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || !bits) throw ErroSistemaOperacional(static_cast<int>(GetLastError()));
  std::memcpy(bits, APixels.Bgra.data(), APixels.Bgra.size());
  return bitmap;
}

// The picture ANome_<ALado> of figuras_botao.rc; null when the program has none of that side.
BitmapUnico FiguraPronta(const std::wstring& ANome, int ALado) {
  const std::wstring recurso = ANome + L"_" + std::to_wstring(ALado);
  // A DIB section keeps the resource's 32 bits, premultiplied alpha included.
  return BitmapUnico(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), recurso.c_str(),
                                                     IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

}  // namespace

BitmapUnico CarregarImagem(int ARecurso, int ALargura, int AAltura, bool AFundoTransparente) {
  return ParaBitmap(Decodificar(ARecurso, nullptr, static_cast<UINT>(ALargura),
                                static_cast<UINT>(AAltura), AFundoTransparente));
}

BitmapUnico CarregarImagemDaTira(int ARecurso, int AColuna, int ALado, bool AFundoTransparente) {
  // The strip's squares are 16 pixels in the file; ALado is the size wanted on the screen.
  const WICRect recorte{AColuna * 16, 0, 16, 16};
  return ParaBitmap(Decodificar(ARecurso, &recorte, static_cast<UINT>(ALado),
                                static_cast<UINT>(ALado), AFundoTransparente));
}

FigurasBotao CarregarFigurasBotao(Figura AFigura, int ALado) {
  const bool ok = AFigura == Figura::Ok;
  const std::wstring nome = ok ? L"OK" : L"SETA_BAIXO";
  FigurasBotao r{FiguraPronta(nome, ALado), FiguraPronta(nome + L"_DESABILITADA", ALado)};
  if (r.Normal && r.Desabilitada) return r;
  // The strip of ok.png holds both pictures, on a magenta background.
  r.Normal = ok ? CarregarImagemDaTira(TOLVANE_OK, 0, ALado, true)
                : CarregarImagem(TOLVANE_SETA_BAIXO, ALado, ALado);
  r.Desabilitada = ok ? CarregarImagemDaTira(TOLVANE_OK, 1, ALado, true)
                      : CarregarImagem(TOLVANE_SETA_BAIXO_DESABILITADA, ALado, ALado);
  return r;
}

}  // namespace tolvane
