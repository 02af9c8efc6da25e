// The buttons' pictures made at build time for the usual DPIs against what the program decodes
// from the same PNGs at run time: the same pixels at 96 DPI, the same picture at 144 DPI (the
// scalers differ at the edges), and an unusual DPI still served.
#include <windows.h>
#undef MessageBox

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "gui/win32/imagens_win32.h"
#include "gui/win32/recursos.h"

namespace tolvane {
namespace {

struct Pixels {
  int Lado = 0;
  std::vector<std::uint8_t> Bgra;  // top-down
};

// The 32 bits of a bitmap, top-down whichever way it is stored (GetObject hides which).
Pixels Ler(HBITMAP ABitmap) {
  BITMAP b{};
  if (!ABitmap || !GetObjectW(ABitmap, sizeof b, &b)) return {};
  EXPECT_EQ(b.bmWidth, b.bmHeight);
  EXPECT_EQ(b.bmBitsPixel, 32);
  Pixels r{b.bmWidth,
           std::vector<std::uint8_t>(static_cast<std::size_t>(b.bmWidth) * b.bmHeight * 4)};
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = b.bmWidth;
  info.bmiHeader.biHeight = -b.bmHeight;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  HDC tela = GetDC(nullptr);
  const int linhas = GetDIBits(tela, ABitmap, 0, static_cast<UINT>(b.bmHeight), r.Bgra.data(),
                               &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, tela);
  EXPECT_EQ(linhas, b.bmHeight);
  return r;
}

// What the program made of the PNG before the pictures came ready: WIC, at ALado.
Pixels Decodificada(Figura AFigura, bool ADesabilitada, int ALado) {
  if (AFigura == Figura::Ok)
    return Ler(CarregarImagemDaTira(TOLVANE_OK, ADesabilitada ? 1 : 0, ALado, true).get());
  return Ler(CarregarImagem(ADesabilitada ? TOLVANE_SETA_BAIXO_DESABILITADA : TOLVANE_SETA_BAIXO,
                            ALado, ALado)
                 .get());
}

// The share of pixels whose four channels all lie within ATolerancia of the other picture's.
double Concordancia(const Pixels& A, const Pixels& B, int ATolerancia) {
  if (A.Lado != B.Lado || A.Bgra.empty()) return 0;
  std::size_t iguais = 0;
  for (std::size_t i = 0; i < A.Bgra.size(); i += 4) {
    bool perto = true;
    for (std::size_t c = 0; c < 4; ++c)
      perto = perto && std::abs(A.Bgra[i + c] - B.Bgra[i + c]) <= ATolerancia;
    iguais += perto;
  }
  return static_cast<double>(iguais) / static_cast<double>(A.Bgra.size() / 4);
}

class ImagensWin32 : public ::testing::Test {
 protected:
  // COM, for the decoding the comparison needs.
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  }
  void TearDown() override { CoUninitialize(); }
};

TEST_F(ImagensWin32, ButtonPicturesAtEachDpiAreThoseDecodedFromThePngs) {
  struct Caso {
    int Lado;             // the button picture's side: 16 at 96 DPI
    bool Pronta;          // made at build time, else decoded
    int Tolerancia;       // per channel
    double Concordancia;  // the least share of pixels within it
  };
  // 96 DPI exactly as decoded; 144 DPI drawn by area where WIC's scaler may take the nearest
  // pixel, which differs only along the picture's edges; 108 DPI has no ready picture and is
  // decoded, exactly as before.
  for (const Caso caso :
       {Caso{16, true, 0, 1.0}, Caso{24, true, 64, 0.85}, Caso{18, false, 0, 1.0}}) {
    for (const Figura figura : {Figura::SetaBaixo, Figura::Ok}) {
      SCOPED_TRACE(std::to_string(caso.Lado) + " px, " +
                   (figura == Figura::Ok ? "the OK strip" : "the down arrow"));
      const std::wstring nome = figura == Figura::Ok ? L"OK" : L"SETA_BAIXO";
      for (const std::wstring& recurso : {nome + L"_" + std::to_wstring(caso.Lado),
                                          nome + L"_DESABILITADA_" + std::to_wstring(caso.Lado)})
        EXPECT_EQ(FindResourceW(nullptr, recurso.c_str(), MAKEINTRESOURCEW(2)) != nullptr,
                  caso.Pronta);  // RT_BITMAP
      const FigurasBotao figuras = CarregarFigurasBotao(figura, caso.Lado);
      const Pixels normal = Ler(figuras.Normal.get());
      const Pixels desabilitada = Ler(figuras.Desabilitada.get());
      ASSERT_EQ(normal.Lado, caso.Lado);
      ASSERT_EQ(desabilitada.Lado, caso.Lado);
      EXPECT_GE(Concordancia(normal, Decodificada(figura, false, caso.Lado), caso.Tolerancia),
                caso.Concordancia);
      EXPECT_GE(Concordancia(desabilitada, Decodificada(figura, true, caso.Lado), caso.Tolerancia),
                caso.Concordancia);
      // Not the same picture twice: the disabled state has its own.
      EXPECT_LT(Concordancia(normal, desabilitada, 0), 1.0);
    }
  }
}

}  // namespace
}  // namespace tolvane
