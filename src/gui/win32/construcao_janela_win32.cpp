#include "gui/win32/janela_win32.h"

#include <algorithm>

#include "gui/win32/aplicacao_win32.h"
#include "gui/win32/imagens_win32.h"
#include "gui/win32/recursos.h"
#include "gui/win32/texto_janela.h"
#include "platform/biblioteca.h"

// After windows.h, which the headers above include.
#include <shellscalingapi.h>

// Building a window from its layout: the top-level window, one control per row, the fonts, the
// pictures, the menus and the tab order.

namespace tolvane {

namespace {

using T = TipoControle;

// First identifier of the controls and of the menu items: below it lie IDOK, IDCANCEL and the
// other dialog answers, which keyboard navigation sends.
constexpr UINT kPrimeiroComando = 100;

std::wstring W(std::string_view ATexto) { return ParaUtf16(ATexto); }

bool MesmaFonte(const Fonte& A, const Fonte& B) {
  return A.Familia == B.Familia && A.Pixels == B.Pixels && A.Italica == B.Italica;
}

// The DPI of the screen that holds APonto: the monitor's own (Windows 8.1 and later, looked up
// at run time so that older systems still start), else the system's.
int DpiEm(POINT APonto) {
  using ObterDpi = HRESULT(WINAPI*)(HMONITOR, MONITOR_DPI_TYPE, UINT*, UINT*);
  static const Biblioteca shcore("shcore.dll", OrigemBiblioteca::Sistema);
  static const auto obterDpi = shcore.Funcao<ObterDpi>("GetDpiForMonitor");
  UINT x = 0;
  UINT y = 0;
  if (obterDpi &&
      SUCCEEDED(obterDpi(MonitorFromPoint(APonto, MONITOR_DEFAULTTOPRIMARY), MDT_EFFECTIVE_DPI, &x,
                         &y)) &&
      y > 0)
    return static_cast<int>(y);
  int dpi = 96;
  if (HDC tela = GetDC(nullptr)) {
    dpi = GetDeviceCaps(tela, LOGPIXELSY);
    ReleaseDC(nullptr, tela);
  }
  return dpi;
}

}  // namespace

void JanelaWin32::Construir() {
  FDpi = DpiEm(POINT{FLayout.Esquerda, FLayout.Topo});
  // "TfrmPrincipal" for the layout "frmPrincipal": the form's class name, for whoever looks.
  const std::wstring nomeClasse = L"T" + W(FLayout.Nome);
  const wchar_t* classe = FAplicacao.ClasseJanela(nomeClasse, ProcedimentoJanela<JanelaWin32>);

  // A single fixed border; the system menu with its close box, or no title-bar button at all.
  // No WS_CLIPCHILDREN: the etched frames paint their edges only, the window their inside.
  const DWORD estilo = WS_CAPTION | (FLayout.BotoesTitulo ? WS_SYSMENU : 0);
  const DWORD estiloEx = WS_EX_CONTROLPARENT;
  RECT externo{0, 0, S(FLayout.LarguraCliente), S(FLayout.AlturaCliente)};
  AdjustWindowRectEx(&externo, estilo, FALSE, estiloEx);
  FJanela.reset(CreateWindowExW(estiloEx, classe, W(FLayout.Caption).c_str(), estilo,
                                FLayout.Esquerda, FLayout.Topo, externo.right - externo.left,
                                externo.bottom - externo.top, FAplicacao.JanelaAplicacao(), nullptr,
                                FAplicacao.Instancia(), this));
  if (!FJanela) return;
  if (FLayout.IconePrograma) {
    for (const auto& [tipo, lado] : {std::pair{ICON_BIG, SM_CXICON}, {ICON_SMALL, SM_CXSMICON}}) {
      const int n = GetSystemMetrics(lado);
      const auto icone = static_cast<HICON>(LoadImageW(FAplicacao.Instancia(),
                                                       MAKEINTRESOURCEW(TOLVANE_ICONE_PROGRAMA),
                                                       IMAGE_ICON, n, n, LR_SHARED));
      SendMessageW(FJanela.get(), WM_SETICON, tipo, reinterpret_cast<LPARAM>(icone));
    }
  }
  SendMessageW(FJanela.get(), WM_SETFONT, reinterpret_cast<WPARAM>(FonteDe(FLayout.FonteJanela)),
               FALSE);

  UINT comando = kPrimeiroComando;
  for (const Controle& c : FLayout.Controles) {
    if (c.Tipo == T::ItemMenu || c.Tipo == T::SeparadorMenu)
      CriarItemMenu(c, comando);
    else
      CriarControle(c, static_cast<int>(comando));
    FComandos.emplace(comando++, std::string(c.Nome));
  }
  int inicial = 0;
  for (const Controle& c : FLayout.Controles)
    if (c.Tipo == T::Pagina && c.PaginaInicial)
      inicial = static_cast<int>(
          std::find(FPaginas.begin(), FPaginas.end(), Procurar(c.Nome)->Janela) - FPaginas.begin());
  if (FPaginaControle) {
    SendMessageW(FPaginaControle, TCM_SETCURSEL, static_cast<WPARAM>(inicial), 0);
    MostrarPagina(inicial);
  }
  DefinirOrdemTab();
  AoRedimensionar();
}

HWND JanelaWin32::Pai(const Controle& AControle) const {
  // Pages are the tab control's siblings, laid over its display area.
  if (AControle.Pai.empty() || AControle.Tipo == T::Pagina) return FJanela.get();
  const ControleWin32* pai = Procurar(AControle.Pai);
  return pai ? pai->Janela : FJanela.get();
}

HFONT JanelaWin32::FonteDe(const Fonte& AFonte) {
  for (const auto& [fonte, handle] : FFontes)
    if (MesmaFonte(fonte, AFonte)) return handle.get();
  // A negative height asks for the character height, the layout's measure.
  FonteUnica nova(CreateFontW(-S(AFonte.Pixels), 0, 0, 0, FW_NORMAL, AFonte.Italica, FALSE, FALSE,
                              DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                              DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                              W(AFonte.Familia).c_str()));
  HFONT r = nova.get();
  FFontes.emplace_back(AFonte, std::move(nova));
  return r;
}

void JanelaWin32::CriarItemMenu(const Controle& AControle, UINT AComando) {
  const auto menu = FMenus.find(AControle.Pai);
  if (menu == FMenus.end()) return;
  if (AControle.Tipo == T::SeparadorMenu)
    AppendMenuW(menu->second.get(), MF_SEPARATOR, 0, nullptr);
  else
    AppendMenuW(menu->second.get(), MF_STRING, AComando, W(AControle.Texto).c_str());
}

void JanelaWin32::CriarControle(const Controle& c, int AIdentificador) {
  if (c.Tipo == T::Menu) {
    FMenus.emplace(c.Nome, MenuUnico(CreatePopupMenu()));
    return;
  }
  ControleWin32 controle;
  controle.Linha = &c;
  HWND pai = Pai(c);
  const wchar_t* classe = WC_STATICW;
  DWORD estilo = WS_CHILD | (c.Visivel ? WS_VISIBLE : 0) | (c.Habilitado ? 0 : WS_DISABLED) |
                 (c.OrdemTab >= 0 ? WS_TABSTOP : 0);
  DWORD estiloEx = 0;
  switch (c.Tipo) {
    case T::PaginaControle:
      classe = WC_TABCONTROLW;
      estilo |= WS_CLIPSIBLINGS | WS_TABSTOP;
      break;
    case T::Pagina:
    case T::Painel:
      classe = FAplicacao.ClasseJanela(c.Tipo == T::Pagina ? L"TTabSheet" : L"TPanel",
                                       ProcedimentoConteiner);
      estilo |= WS_CLIPSIBLINGS;
      estiloEx |= WS_EX_CONTROLPARENT;
      if (c.Tipo == T::Pagina) estilo &= ~static_cast<DWORD>(WS_VISIBLE);
      break;
    case T::Rotulo:
      // A static control, which never takes the focus. A label whose text users copy hears the
      // mouse (SS_NOTIFY), for the menu that copies it: the window's WM_CONTEXTMENU.
      estilo |= c.Centralizado ? SS_CENTER : c.QuebraPalavras ? SS_LEFT : SS_LEFTNOWORDWRAP;
      if (c.Selecionavel) estilo |= SS_NOTIFY;
      break;
    case T::RotuloSombra:
      estilo |= SS_OWNERDRAW;
      break;
    case T::LinhaGravada:
      estilo |= SS_ETCHEDHORZ;
      break;
    case T::MolduraGravada:
      estilo |= SS_ETCHEDFRAME;
      break;
    case T::Imagem:
      estilo |= SS_BITMAP | SS_REALSIZECONTROL;
      break;
    case T::Botao:
      classe = WC_BUTTONW;
      estilo |= BS_PUSHBUTTON;
      break;
    case T::CaixaMarcacao:
      classe = WC_BUTTONW;
      estilo |= BS_AUTOCHECKBOX;
      break;
    case T::CaixaCombinacao:
      classe = WC_COMBOBOXW;
      estilo |= (c.Digitavel ? CBS_DROPDOWN : CBS_DROPDOWNLIST) | CBS_AUTOHSCROLL | WS_VSCROLL;
      break;
    default:
      return;
  }
  // Placed, sized and given its font by Colocar, as again when the DPI changes.
  controle.Janela =
      CreateWindowExW(estiloEx, classe, c.Tipo == T::Pagina ? L"" : W(c.Texto).c_str(), estilo, 0,
                      0, 0, 0, pai, reinterpret_cast<HMENU>(static_cast<INT_PTR>(AIdentificador)),
                      FAplicacao.Instancia(), nullptr);
  HWND h = controle.Janela;
  if (!h) return;
  if (c.Tipo == T::Painel) SetWindowLongPtrW(h, GWLP_USERDATA, kConteinerPainel);

  if (c.Tipo == T::Pagina && FPaginaControle) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    std::wstring texto = W(c.Texto);
    item.pszText = texto.data();
    SendMessageW(FPaginaControle, TCM_INSERTITEMW, FPaginas.size(),
                 reinterpret_cast<LPARAM>(&item));
    FPaginas.push_back(h);
  }
  if (c.Tipo == T::PaginaControle) FPaginaControle = h;
  const auto [it, nova] = FControles.emplace(c.Nome, std::move(controle));
  if (!nova) return;
  Colocar(it->second);
  DefinirFiguras(it->second);
}

void JanelaWin32::Colocar(const ControleWin32& AControle) {
  const Controle& c = *AControle.Linha;
  // The height given to a combo box includes its open list.
  const int altura = c.Tipo == T::CaixaCombinacao ? c.Altura + 200 : c.Altura;
  SetWindowPos(AControle.Janela, nullptr, S(c.Esquerda), S(c.Topo),
               c.Largura == kTamanhoDoTexto ? 0 : S(c.Largura),
               altura == kTamanhoDoTexto ? 0 : S(altura), SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(
      AControle.Janela, WM_SETFONT,
      reinterpret_cast<WPARAM>(FonteDe(c.FontePropria ? *c.FontePropria : FLayout.FonteJanela)),
      FALSE);
  AjustarAoTexto(AControle);
}

void JanelaWin32::DefinirFiguras(ControleWin32& AControle) {
  const Controle& c = *AControle.Linha;
  HWND h = AControle.Janela;
  if (c.Tipo == T::Botao && c.Imagem != Figura::Nenhuma) {
    // The picture left of the caption, and its own picture for the disabled button.
    const int lado = S(16);
    const FigurasBotao figuras = CarregarFigurasBotao(c.Imagem, lado);
    HBITMAP normal = figuras.Normal.get();
    ListaImagensUnica imagens(ImageList_Create(lado, lado, ILC_COLOR32, 6, 0));
    // One picture per button state: normal, hot, pressed, disabled, default, stylus hot.
    for (HBITMAP b : {normal, normal, normal, figuras.Desabilitada.get(), normal, normal})
      ImageList_Add(imagens.get(), b, nullptr);
    BUTTON_IMAGELIST lista{imagens.get(), {S(1), 0, 0, 0}, BUTTON_IMAGELIST_ALIGN_LEFT};
    SendMessageW(h, BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&lista));
    // The button holds the new list now; the old one may go.
    AControle.Imagens = std::move(imagens);
  }
  if (c.Tipo == T::Imagem && c.Imagem == Figura::Logo) {
    BitmapUnico figura = CarregarImagem(TOLVANE_LOGO, S(c.Largura), S(c.Altura));
    SendMessageW(h, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(figura.get()));
    AControle.Figura = std::move(figura);
  }
}

void JanelaWin32::MudarDpi(int ADpi, const RECT& ASugerido) {
  HWND janela = FJanela.get();
  if (ADpi != FDpi) {
    FDpi = ADpi;
    // Every control takes its font at the new size before the old fonts go, at the end.
    const auto antigas = std::move(FFontes);
    FFontes.clear();
    SendMessageW(janela, WM_SETFONT, reinterpret_cast<WPARAM>(FonteDe(FLayout.FonteJanela)), FALSE);
    for (auto& [nome, c] : FControles) {
      Colocar(c);
      DefinirFiguras(c);
    }
  }
  // The place and size the system proposes for the new DPI: the same spot on the new screen.
  SetWindowPos(janela, nullptr, ASugerido.left, ASugerido.top, ASugerido.right - ASugerido.left,
               ASugerido.bottom - ASugerido.top, SWP_NOZORDER | SWP_NOACTIVATE);
  if (FPaginaControle)
    MostrarPagina(static_cast<int>(SendMessageW(FPaginaControle, TCM_GETCURSEL, 0, 0)));
  AoRedimensionar();
  InvalidateRect(janela, nullptr, TRUE);
}

void JanelaWin32::AjustarAoTexto(const ControleWin32& AControle) {
  const Controle& c = *AControle.Linha;
  const bool larguraDoTexto = c.Largura == kTamanhoDoTexto;
  const bool alturaDoTexto = c.Altura == kTamanhoDoTexto;
  if (!larguraDoTexto && !alturaDoTexto) return;
  HWND h = AControle.Janela;
  HDC dc = GetDC(h);
  if (!dc) return;
  const HGDIOBJ antiga =
      SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(h, WM_GETFONT, 0, 0)));
  std::wstring texto = TextoJanela(h);
  if (texto.empty()) texto = L" ";
  RECT r{0, 0, 0, 0};
  DrawTextW(dc, texto.c_str(), static_cast<int>(texto.size()), &r, DT_CALCRECT | DT_SINGLELINE);
  SelectObject(dc, antiga);
  ReleaseDC(h, dc);
  RECT atual{};
  GetClientRect(h, &atual);
  SetWindowPos(h, nullptr, 0, 0, larguraDoTexto ? r.right : atual.right,
               alturaDoTexto ? r.bottom : atual.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void JanelaWin32::DefinirOrdemTab() {
  // Per parent, the controls in their tab order: the window order is the order of Tab.
  std::map<std::string_view, std::vector<const ControleWin32*>> porPai;
  for (const auto& [nome, controle] : FControles)
    if (controle.Linha->OrdemTab >= 0) porPai[controle.Linha->Pai].push_back(&controle);
  for (auto& [pai, controles] : porPai) {
    std::stable_sort(controles.begin(), controles.end(), [](const auto* a, const auto* b) {
      return a->Linha->OrdemTab < b->Linha->OrdemTab;
    });
    for (std::size_t i = 1; i < controles.size(); ++i)
      SetWindowPos(controles[i]->Janela, controles[i - 1]->Janela, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

}  // namespace tolvane
