// Each Win32 window as its layout says: the window's class, caption, place and client size, and
// for every row its control (place, size, font, caption, pictures, state, tab stop), its menu item
// or its page, at the scale of the screen's DPI, and again after a move to screens of other DPI.
#include <windows.h>
#undef MessageBox
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "apoio_janelas_win32.h"
#include "app/janela.h"
#include "app/layouts.h"
#include "gui/win32/aplicacao_win32.h"
#include "gui/win32/janela_win32.h"
#include "gui/win32/texto_janela.h"
#include "platform/win32/utf16.h"

namespace tolvane {
namespace {

using T = TipoControle;

using teste::FonteDe;
using teste::Lugar;
using teste::SemEventos;

std::string Texto(HWND AJanela) { return DeUtf16(TextoJanela(AJanela)); }

std::string Classe(HWND AJanela) {
  wchar_t classe[256]{};
  GetClassNameW(AJanela, classe, 256);
  return DeUtf16(classe);
}

// The texts of the menu's items, "-" for a separator.
std::vector<std::string> ItensMenu(HMENU AMenu) {
  std::vector<std::string> itens;
  for (int i = 0; i < GetMenuItemCount(AMenu); ++i) {
    wchar_t texto[256]{};
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_FTYPE | MIIM_STRING;
    item.dwTypeData = texto;
    item.cch = 256;
    GetMenuItemInfoW(AMenu, static_cast<UINT>(i), TRUE, &item);
    itens.push_back(item.fType & MFT_SEPARATOR ? "-" : DeUtf16(texto));
  }
  return itens;
}

std::string TextoAba(HWND APaginas, int AIndice) {
  wchar_t texto[256]{};
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = texto;
  item.cchTextMax = 256;
  SendMessageW(APaginas, TCM_GETITEMW, static_cast<WPARAM>(AIndice),
               reinterpret_cast<LPARAM>(&item));
  return DeUtf16(texto);
}

// The layout's measures are at 96 dots per inch.
struct Escala {
  int Dpi = 96;
  int operator()(int APixels) const { return MulDiv(APixels, Dpi, 96); }
};

void ConfereFonte(HWND AJanela, const Fonte& AFonte, Escala AEm) {
  const LOGFONTW fonte = FonteDe(AJanela);
  EXPECT_EQ(DeUtf16(fonte.lfFaceName), AFonte.Familia);
  EXPECT_EQ(fonte.lfHeight, -AEm(AFonte.Pixels));
  EXPECT_EQ(fonte.lfItalic != 0, AFonte.Italica);
}

void ConfereLayout(const JanelaWin32& AJanela, const LayoutJanela& ALayout, Escala Em) {
  HWND h = AJanela.Handle();
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(Classe(h), "T" + std::string(ALayout.Nome));
  EXPECT_EQ(Texto(h), ALayout.Caption);
  RECT cliente{};
  GetClientRect(h, &cliente);
  EXPECT_EQ(cliente.right, Em(ALayout.LarguraCliente));
  EXPECT_EQ(cliente.bottom, Em(ALayout.AlturaCliente));
  if (ALayout.Posicao == PosicaoJanela::Projetada) {
    RECT externo{};
    GetWindowRect(h, &externo);
    EXPECT_EQ(externo.left, ALayout.Esquerda);
    EXPECT_EQ(externo.top, ALayout.Topo);
  }
  const auto estilo = static_cast<DWORD>(GetWindowLongPtrW(h, GWL_STYLE));
  EXPECT_EQ((estilo & WS_SYSMENU) != 0, ALayout.BotoesTitulo);
  EXPECT_EQ(estilo & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX | WS_THICKFRAME), 0u);
  EXPECT_EQ(Classe(GetWindow(h, GW_OWNER)), "TApplication");
  EXPECT_EQ(SendMessageW(h, WM_GETICON, ICON_BIG, 0) != 0, ALayout.IconePrograma);
  EXPECT_FALSE(IsWindowVisible(h));  // created hidden

  for (const Controle& c : ALayout.Controles) {
    SCOPED_TRACE(std::string(c.Nome));
    if (c.Tipo == T::Menu) {
      EXPECT_NE(AJanela.Menu(c.Nome), nullptr);
      continue;
    }
    if (c.Tipo == T::ItemMenu || c.Tipo == T::SeparadorMenu) {
      HMENU menu = AJanela.Menu(c.Pai);
      ASSERT_NE(menu, nullptr);
      const auto itens = ItensMenu(menu);
      const std::string esperado = c.Tipo == T::SeparadorMenu ? "-" : std::string(c.Texto);
      EXPECT_NE(std::find(itens.begin(), itens.end(), esperado), itens.end());
      continue;
    }
    HWND w = AJanela.JanelaControle(c.Nome);
    ASSERT_NE(w, nullptr);
    const auto estiloControle = static_cast<DWORD>(GetWindowLongPtrW(w, GWL_STYLE));
    if (c.Tipo == T::Pagina) {
      HWND paginas = AJanela.JanelaControle(c.Pai);
      ASSERT_NE(paginas, nullptr);
      std::vector<std::string> abas;
      for (int i = 0; i < TabCtrl_GetItemCount(paginas); ++i) abas.push_back(TextoAba(paginas, i));
      EXPECT_NE(std::find(abas.begin(), abas.end(), c.Texto), abas.end());
      if (c.PaginaInicial) {
        EXPECT_EQ(TextoAba(paginas, TabCtrl_GetCurSel(paginas)), c.Texto);
        EXPECT_NE(estiloControle & WS_VISIBLE, 0u);
      }
      continue;
    }
    const RECT lugar = Lugar(w);
    EXPECT_EQ(lugar.left, Em(c.Esquerda));
    EXPECT_EQ(lugar.top, Em(c.Topo));
    if (c.Largura != kTamanhoDoTexto) {
      EXPECT_EQ(lugar.right - lugar.left, Em(c.Largura));
    }
    // A combo box's field takes the height of its font; Windows sizes it.
    if (c.Altura != kTamanhoDoTexto && c.Tipo != T::CaixaCombinacao) {
      EXPECT_EQ(lugar.bottom - lugar.top, Em(c.Altura));
    }
    EXPECT_EQ((estiloControle & WS_VISIBLE) != 0, c.Visivel);
    EXPECT_EQ(IsWindowEnabled(w) != FALSE, c.Habilitado);
    // The window's font is what its text controls show unless they have their own; lines,
    // frames, pictures and containers draw no text and keep none.
    const bool comTexto = c.Tipo == T::Rotulo || c.Tipo == T::RotuloSombra || c.Tipo == T::Botao ||
                          c.Tipo == T::CaixaMarcacao || c.Tipo == T::CaixaCombinacao ||
                          c.Tipo == T::PaginaControle;
    if (comTexto) ConfereFonte(w, c.FontePropria ? *c.FontePropria : ALayout.FonteJanela, Em);
    if (c.Tipo != T::PaginaControle && c.Tipo != T::Painel) {
      EXPECT_EQ((estiloControle & WS_TABSTOP) != 0, c.OrdemTab >= 0);
    }
    switch (c.Tipo) {
      case T::Rotulo: {
        // A static control, which never takes the focus; one whose text users copy hears the
        // mouse, for its menu.
        EXPECT_EQ(Classe(w), "Static");
        const DWORD tipo = estiloControle & SS_TYPEMASK;
        EXPECT_EQ(tipo, c.Centralizado     ? DWORD{SS_CENTER}
                        : c.QuebraPalavras ? DWORD{SS_LEFT}
                                           : DWORD{SS_LEFTNOWORDWRAP});
        EXPECT_EQ((estiloControle & SS_NOTIFY) != 0, c.Selecionavel);
        if (!c.Texto.empty()) {
          EXPECT_EQ(Texto(w), c.Texto);
        }
        break;
      }
      case T::Botao:
      case T::CaixaMarcacao: {
        EXPECT_EQ(Texto(w), c.Texto);
        BUTTON_IMAGELIST lista{};
        SendMessageW(w, BCM_GETIMAGELIST, 0, reinterpret_cast<LPARAM>(&lista));
        EXPECT_EQ(lista.himl != nullptr, c.Imagem != Figura::Nenhuma);
        break;
      }
      case T::Imagem:
        EXPECT_NE(SendMessageW(w, STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
        break;
      case T::CaixaCombinacao:
        EXPECT_EQ((estiloControle & 3) == CBS_DROPDOWN, c.Digitavel);
        EXPECT_EQ(SendMessageW(w, CB_GETCOUNT, 0, 0), 0);
        EXPECT_EQ(Texto(w), "");
        break;
      default:
        break;
    }
  }
}

TEST(JanelaWin32, EachWindowIsBuiltAsItsLayoutSays) {
  AplicacaoWin32 aplicacao(GetModuleHandleW(nullptr));
  aplicacao.Initialize();  // COM, for the pictures
  HDC tela = GetDC(nullptr);
  const int dpi = GetDeviceCaps(tela, LOGPIXELSY);
  ReleaseDC(nullptr, tela);
  for (const LayoutJanela* layout :
       {&LayoutFrmPrincipal(), &LayoutFrmSobre(), &LayoutFrmMensagemConfirmarGenerica()}) {
    SCOPED_TRACE(std::string(layout->Nome));
    SemEventos eventos;
    const auto janela = aplicacao.CriarJanela(*layout, eventos);
    const auto& win32 = static_cast<const JanelaWin32&>(*janela);
    ConfereLayout(win32, *layout, Escala{dpi});
    // Moved to screens of other settings (WM_DPICHANGED, which Wine never sends), with the
    // system proposing the same place: all of it at the new scale.
    for (const int outro : {dpi * 3 / 2, dpi * 2}) {
      SCOPED_TRACE(std::to_string(outro) + " DPI");
      const Escala em{outro};
      HWND h = win32.Handle();
      RECT proposto{layout->Esquerda, layout->Topo, layout->Esquerda + em(layout->LarguraCliente),
                    layout->Topo + em(layout->AlturaCliente)};
      AdjustWindowRectEx(&proposto, static_cast<DWORD>(GetWindowLongPtrW(h, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(GetWindowLongPtrW(h, GWL_EXSTYLE)));
      OffsetRect(&proposto, layout->Esquerda - proposto.left, layout->Topo - proposto.top);
      SendMessageW(h, WM_DPICHANGED, MAKEWPARAM(outro, outro), reinterpret_cast<LPARAM>(&proposto));
      ConfereLayout(win32, *layout, em);
    }
  }
}

}  // namespace
}  // namespace tolvane
