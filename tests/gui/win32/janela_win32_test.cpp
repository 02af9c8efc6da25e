// A window of the system on Win32 when it moves to a screen of another DPI (WM_DPICHANGED, which
// Wine never sends by itself): places, sizes, fonts and pictures follow the new scale, and the
// window takes the place and size the system proposes.
#include <windows.h>
#undef MessageBox
#include <commctrl.h>

#include <gtest/gtest.h>

#include "apoio_janelas_win32.h"
#include "app/janela.h"
#include "app/layouts.h"
#include "gui/win32/aplicacao_win32.h"
#include "gui/win32/janela_win32.h"

namespace tolvane {
namespace {

using teste::FonteDe;
using teste::Lugar;
using teste::SemEventos;

struct BuscaFilho {
  const wchar_t* Texto;
  HWND Achado;
};

// A named CALLBACK rather than a lambda: a lambda converts to a function pointer of the default
// convention, and the 32-bit build's enumerators take stdcall ones.
BOOL CALLBACK CompararFilho(HWND AFilho, LPARAM AL) {
  auto* b = reinterpret_cast<BuscaFilho*>(AL);
  wchar_t texto[256]{};
  GetWindowTextW(AFilho, texto, 256);
  if (wcscmp(texto, b->Texto) != 0) return TRUE;
  b->Achado = AFilho;
  return FALSE;
}

HWND Filho(HWND AJanela, const wchar_t* ATexto) {
  BuscaFilho busca{ATexto, nullptr};
  EnumChildWindows(AJanela, CompararFilho, reinterpret_cast<LPARAM>(&busca));
  return busca.Achado;
}

int LadoDasFiguras(HWND ABotao) {
  BUTTON_IMAGELIST lista{};
  if (!SendMessageW(ABotao, BCM_GETIMAGELIST, 0, reinterpret_cast<LPARAM>(&lista))) return 0;
  int largura = 0;
  int altura = 0;
  ImageList_GetIconSize(lista.himl, &largura, &altura);
  return altura;
}

TEST(JanelaWin32, MovedToAScreenOfAnotherDpiEverythingFollowsTheNewScale) {
  AplicacaoWin32 aplicacao(GetModuleHandleW(nullptr));
  aplicacao.Initialize();  // COM, for the pictures
  SemEventos eventos;
  const auto janela = aplicacao.CriarJanela(LayoutFrmSobre(), eventos);
  HWND h = static_cast<JanelaWin32&>(*janela).Handle();
  ASSERT_NE(h, nullptr);
  HWND botao = Filho(h, L"&Minimizar");
  ASSERT_NE(botao, nullptr);
  HDC tela = GetDC(nullptr);
  const int dpi = GetDeviceCaps(tela, LOGPIXELSY);
  ReleaseDC(nullptr, tela);
  const auto em = [](int APixels, int ADpi) { return MulDiv(APixels, ADpi, 96); };

  // The information window's layout: the button at 406, 175, 75 × 27, the window's font 11 px.
  struct Escala {
    int Dpi;
    bool Mudar;
  };
  for (const Escala e : {Escala{dpi, false}, Escala{dpi * 3 / 2, true}, Escala{dpi * 2, true}}) {
    SCOPED_TRACE(std::to_string(e.Dpi) + " DPI");
    RECT proposto{};
    if (e.Mudar) {
      // What the system proposes: the outer window for the client area at the new scale.
      proposto = {100, 50, 100 + em(490, e.Dpi), 50 + em(208, e.Dpi)};
      AdjustWindowRectEx(&proposto, static_cast<DWORD>(GetWindowLongPtrW(h, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(GetWindowLongPtrW(h, GWL_EXSTYLE)));
      SendMessageW(h, WM_DPICHANGED, MAKEWPARAM(e.Dpi, e.Dpi), reinterpret_cast<LPARAM>(&proposto));
      RECT externo{};
      GetWindowRect(h, &externo);
      EXPECT_TRUE(EqualRect(&externo, &proposto))
          << externo.left << ", " << externo.top << ", " << externo.right << ", " << externo.bottom;
    }
    RECT cliente{};
    GetClientRect(h, &cliente);
    EXPECT_EQ(cliente.right, em(490, e.Dpi));
    EXPECT_EQ(cliente.bottom, em(208, e.Dpi));
    const RECT lugar = Lugar(botao);
    EXPECT_EQ(lugar.left, em(406, e.Dpi));
    EXPECT_EQ(lugar.top, em(175, e.Dpi));
    EXPECT_EQ(lugar.right - lugar.left, em(75, e.Dpi));
    EXPECT_EQ(lugar.bottom - lugar.top, em(27, e.Dpi));
    EXPECT_EQ(FonteDe(botao).lfHeight, -em(11, e.Dpi));
    EXPECT_EQ(LadoDasFiguras(botao), em(16, e.Dpi));
  }
}

}  // namespace
}  // namespace tolvane
