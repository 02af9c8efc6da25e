#include "gui/win32/janela_win32.h"

#include <algorithm>
#include <cstring>

#include "gui/win32/aplicacao_win32.h"
#include "gui/win32/texto_janela.h"

// After windows.h, which the headers above include.
#include <windowsx.h>

namespace tolvane {

namespace {

using T = TipoControle;

COLORREF CorDe(CorTexto ACor) { return ACor == CorTexto::Azul ? RGB(0, 0, 255) : RGB(0, 0, 0); }

// The one item of a copyable label's menu.
constexpr UINT kComandoCopiar = 1;

struct FecharAreaTransferencia {
  ~FecharAreaTransferencia() { CloseClipboard(); }
};

// ATexto on the clipboard as Unicode text, in place of what was there; false when the clipboard
// could not be had (another program holds it open).
bool CopiarParaAreaTransferencia(HWND ADono, const std::wstring& ATexto) {
  const std::size_t bytes = (ATexto.size() + 1) * sizeof(wchar_t);
  MemoriaGlobalUnica memoria(GlobalAlloc(GMEM_MOVEABLE, bytes));
  if (!memoria) return false;
  void* destino = GlobalLock(memoria.get());
  if (!destino) return false;
  std::memcpy(destino, ATexto.c_str(), bytes);
  GlobalUnlock(memoria.get());
  if (!OpenClipboard(ADono)) return false;
  const FecharAreaTransferencia fechar;
  EmptyClipboard();
  if (!SetClipboardData(CF_UNICODETEXT, memoria.get())) return false;
  // The clipboard owns the memory now.
  memoria.release();
  return true;
}

}  // namespace

JanelaWin32::JanelaWin32(AplicacaoWin32& AAplicacao, const LayoutJanela& ALayout,
                         EventosJanela& AEventos)
    : FAplicacao(AAplicacao), FLayout(ALayout), FEventos(AEventos) {
  Construir();
  FAplicacao.Registrar(*this);
}

JanelaWin32::~JanelaWin32() {
  FAplicacao.Remover(*this);
  FJanela.reset();
}

int JanelaWin32::S(int APixels) const { return MulDiv(APixels, FDpi, 96); }

const JanelaWin32::ControleWin32* JanelaWin32::Procurar(std::string_view ANome) const {
  const auto it = FControles.find(ANome);
  return it == FControles.end() ? nullptr : &it->second;
}

const JanelaWin32::ControleWin32* JanelaWin32::ProcurarPorJanela(HWND AJanela) const {
  for (const auto& [nome, controle] : FControles)
    if (controle.Janela == AJanela) return &controle;
  return nullptr;
}

void JanelaWin32::MostrarPagina(int AIndice) {
  if (!FPaginaControle) return;
  // The pages lie over the tab control's display area, above it in the window order.
  RECT area{};
  GetWindowRect(FPaginaControle, &area);
  MapWindowPoints(nullptr, FJanela.get(), reinterpret_cast<POINT*>(&area), 2);
  SendMessageW(FPaginaControle, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
  for (std::size_t i = 0; i < FPaginas.size(); ++i) {
    const bool atual = static_cast<int>(i) == AIndice;
    SetWindowPos(FPaginas[i], HWND_TOP, area.left, area.top, area.right - area.left,
                 area.bottom - area.top,
                 SWP_NOACTIVATE | (atual ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
  }
}

HMENU JanelaWin32::Menu(std::string_view ANome) const {
  const auto it = FMenus.find(ANome);
  return it == FMenus.end() ? nullptr : it->second.get();
}

HWND JanelaWin32::JanelaControle(std::string_view ANome) const {
  const ControleWin32* c = Procurar(ANome);
  return c ? c->Janela : nullptr;
}

void JanelaWin32::EscolherItemMenu(UINT AComando) {
  const auto it = FComandos.find(AComando);
  if (it != FComandos.end()) FEventos.Click(it->second);
}

// The form's handlers show their own errors (EventosJanela never throws); what leaves Tratar is
// the window's own work, such as the pictures made again at a new DPI.
Aplicacao& JanelaWin32::AplicacaoDaJanela() { return FAplicacao; }

LRESULT CALLBACK JanelaWin32::ProcedimentoConteiner(HWND AJanela, UINT AMensagem, WPARAM AW,
                                                    LPARAM AL) {
  switch (AMensagem) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_DRAWITEM:
      // What the controls tell their parent belongs to the form's window.
      return SendMessageW(GetAncestor(AJanela, GA_ROOT), AMensagem, AW, AL);
    case WM_PAINT:
      if (GetWindowLongPtrW(AJanela, GWLP_USERDATA) == kConteinerPainel) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(AJanela, &ps);
        RECT r{};
        GetClientRect(AJanela, &r);
        DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
        EndPaint(AJanela, &ps);
        return 0;
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(AJanela, AMensagem, AW, AL);
}

LRESULT JanelaWin32::Tratar(UINT AMensagem, WPARAM AW, LPARAM AL) {
  HWND janela = FJanela.get();
  switch (AMensagem) {
    case WM_COMMAND: {
      const UINT id = LOWORD(AW);
      if (AL && HIWORD(AW) == BN_CLICKED) {
        const auto it = FComandos.find(id);
        if (it != FComandos.end()) FEventos.Click(it->second);
        return 0;
      }
      // Escape in a window shown modally closes it, as it closes a dialog.
      if (!AL && id == IDCANCEL && FModal) PostMessageW(janela, WM_CLOSE, 0, 0);
      return 0;
    }
    case WM_NOTIFY: {
      const auto* aviso = reinterpret_cast<const NMHDR*>(AL);
      if (aviso->hwndFrom == FPaginaControle && aviso->code == TCN_SELCHANGE)
        MostrarPagina(static_cast<int>(SendMessageW(FPaginaControle, TCM_GETCURSEL, 0, 0)));
      return 0;
    }
    case WM_CTLCOLORSTATIC: {
      const ControleWin32* c = ProcurarPorJanela(reinterpret_cast<HWND>(AL));
      if (!c || c->Linha->Cor == CorTexto::Janela) break;
      HDC dc = reinterpret_cast<HDC>(AW);
      SetTextColor(dc, CorDe(c->Linha->Cor));
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_ACTIVATE:
      // As in a dialog: the control that had the focus when the window went inactive has it
      // again when the window is active again; the window's own procedure would give it to the
      // window itself, where neither Enter nor the access keys reach a control.
      if (LOWORD(AW) == WA_INACTIVE) {
        HWND foco = GetFocus();
        if (foco && IsChild(janela, foco)) FFocoGuardado = foco;
      } else if (HIWORD(AW) == 0) {
        if (HWND foco = FocoAoAtivar()) {
          SetFocus(foco);
          return 0;
        }
      }
      break;
    case WM_CONTEXTMENU: {
      // A label whose text users copy (the version, into support chats): a static control never
      // takes the focus, and so cannot select; its menu copies the whole text instead.
      const ControleWin32* c = ProcurarPorJanela(reinterpret_cast<HWND>(AW));
      if (!c || c->Linha->Tipo != T::Rotulo || !c->Linha->Selecionavel) break;
      OferecerCopia(c->Janela, POINT{GET_X_LPARAM(AL), GET_Y_LPARAM(AL)});
      return 0;
    }
    case WM_DRAWITEM: {
      const auto* desenho = reinterpret_cast<const DRAWITEMSTRUCT*>(AL);
      if (desenho->CtlType != ODT_STATIC) break;
      DesenharRotuloSombra(*desenho);
      return TRUE;
    }
    case WM_CLOSE:
      if (FEventos.CloseQuery()) Fechar();
      return 0;
    case WM_SIZE:
      AoRedimensionar();
      return 0;
    case WM_DPICHANGED:
      MudarDpi(HIWORD(AW), *reinterpret_cast<const RECT*>(AL));
      return 0;
    default:
      break;
  }
  return DefWindowProcW(janela, AMensagem, AW, AL);
}

HWND JanelaWin32::FocoAoAtivar() const {
  HWND janela = FJanela.get();
  const auto utilizavel = [&](HWND AControle) {
    return AControle && IsChild(janela, AControle) && IsWindowVisible(AControle) &&
           IsWindowEnabled(AControle);
  };
  if (utilizavel(FFocoGuardado)) return FFocoGuardado;
  for (const auto& [nome, c] : FControles)
    if (c.Linha->FocoInicial && utilizavel(c.Janela)) return c.Janela;
  return nullptr;
}

void JanelaWin32::OferecerCopia(HWND AControle, POINT ALugar) {
  MenuUnico menu(CreatePopupMenu());
  if (!menu) return;
  AppendMenuW(menu.get(), MF_STRING, kComandoCopiar, L"&Copiar");
  const auto escolha = TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                      ALugar.x, ALugar.y, 0, FJanela.get(), nullptr);
  if (escolha == static_cast<BOOL>(kComandoCopiar) &&
      !CopiarParaAreaTransferencia(FJanela.get(), TextoJanela(AControle)))
    MessageBeep(MB_ICONWARNING);
}

void JanelaWin32::DesenharRotuloSombra(const DRAWITEMSTRUCT& ADesenho) {
  const ControleWin32* c = ProcurarPorJanela(ADesenho.hwndItem);
  HDC dc = ADesenho.hDC;
  RECT r = ADesenho.rcItem;
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  const HGDIOBJ antiga = SelectObject(
      dc, reinterpret_cast<HGDIOBJ>(SendMessageW(ADesenho.hwndItem, WM_GETFONT, 0, 0)));
  const std::wstring texto = TextoJanela(ADesenho.hwndItem);
  SetBkMode(dc, TRANSPARENT);
  // The shadow: one pixel to the right and down, in the button-highlight colour.
  RECT sombra = r;
  OffsetRect(&sombra, 1, 1);
  SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
  DrawTextW(dc, texto.c_str(), static_cast<int>(texto.size()), &sombra, DT_LEFT | DT_TOP);
  SetTextColor(dc, CorDe(c ? c->Linha->Cor : CorTexto::Janela));
  DrawTextW(dc, texto.c_str(), static_cast<int>(texto.size()), &r, DT_LEFT | DT_TOP);
  SelectObject(dc, antiga);
}

void JanelaWin32::AoRedimensionar() {
  // A control docked to the bottom edge keeps the full width.
  RECT cliente{};
  GetClientRect(FJanela.get(), &cliente);
  for (const auto& [nome, c] : FControles)
    if (c.Linha->AncoradoEmbaixo)
      SetWindowPos(c.Janela, nullptr, 0, cliente.bottom - S(c.Linha->Altura), cliente.right,
                   S(c.Linha->Altura), SWP_NOZORDER | SWP_NOACTIVATE);
}

void JanelaWin32::Posicionar() {
  // Layout places are those of the outer window; the information window is centred in the work
  // area of its screen.
  if (FLayout.Posicao != PosicaoJanela::CentroAreaTrabalho) return;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(FJanela.get(), MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& area = monitor.rcWork;
  RECT externo{};
  GetWindowRect(FJanela.get(), &externo);
  const int largura = externo.right - externo.left;
  const int altura = externo.bottom - externo.top;
  SetWindowPos(FJanela.get(), nullptr, area.left + (area.right - area.left - largura) / 2,
               area.top + (area.bottom - area.top - altura) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void JanelaWin32::Show() {
  const bool primeira = !FJaMostrada;
  FJaMostrada = true;
  FFechada = false;
  if (primeira) Posicionar();
  ShowWindow(FJanela.get(), SW_SHOWNORMAL);
  if (primeira)
    for (const auto& [nome, c] : FControles)
      if (c.Linha->FocoInicial) SetFocus(c.Janela);
  UpdateWindow(FJanela.get());
  FAplicacao.AtualizarBotaoTarefas();
}

void JanelaWin32::Hide() {
  ShowWindow(FJanela.get(), SW_HIDE);
  FAplicacao.AtualizarBotaoTarefas();
}

bool JanelaWin32::Visible() const { return IsWindowVisible(FJanela.get()) != FALSE; }

int JanelaWin32::ShowModal() {
  // On top of the window shown modally before it, or of the application window: the newer one
  // must be closed before the older one takes input again.
  SetWindowLongPtrW(FJanela.get(), GWLP_HWNDPARENT,
                    reinterpret_cast<LONG_PTR>(FAplicacao.DonoModal()));
  FModal = true;
  Show();
  FAplicacao.LacoModal(*this, [this] { return FFechada; });
  FModal = false;
  // Closed, or a request to end met in the loop: either way the window goes with "cancel".
  Hide();
  return kMrCancel;
}

void JanelaWin32::Close() { Fechar(); }

void JanelaWin32::Fechar() {
  FFechada = true;
  // A modal window is hidden by ShowModal once the windows under it take input again.
  if (!FModal) Hide();
  FEventos.FormClose();
}

void JanelaWin32::SetOuterSize(int ALargura, int AAltura) {
  SetWindowPos(FJanela.get(), nullptr, 0, 0, S(ALargura), S(AAltura),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void JanelaWin32::Repaint() {
  RedrawWindow(FJanela.get(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

bool JanelaWin32::Minimized() const { return IsIconic(FJanela.get()) != FALSE; }

void JanelaWin32::ShowNormal() { ShowWindow(FJanela.get(), SW_RESTORE); }

void JanelaWin32::BringToFront() {
  SetForegroundWindow(FAplicacao.JanelaAplicacao());
  SetForegroundWindow(FJanela.get());
  BringWindowToTop(FJanela.get());
}

void JanelaWin32::SetText(std::string_view AControle, const std::string& ATexto) {
  const ControleWin32* c = Procurar(AControle);
  if (!c) return;
  SetWindowTextW(c->Janela, ParaUtf16(ATexto).c_str());
  // A control as large as its text grows or shrinks with it.
  AjustarAoTexto(*c);
}

std::string JanelaWin32::Text(std::string_view AControle) const {
  const ControleWin32* c = Procurar(AControle);
  return c ? DeUtf16(TextoJanela(c->Janela)) : std::string();
}

void JanelaWin32::SetVisible(std::string_view AControle, bool AVisivel) {
  if (const ControleWin32* c = Procurar(AControle))
    ShowWindow(c->Janela, AVisivel ? SW_SHOWNA : SW_HIDE);
}

void JanelaWin32::SetEnabled(std::string_view AControle, bool AHabilitado) {
  if (const ControleWin32* c = Procurar(AControle)) EnableWindow(c->Janela, AHabilitado);
}

bool JanelaWin32::Enabled(std::string_view AControle) const {
  const ControleWin32* c = Procurar(AControle);
  return c && IsWindowEnabled(c->Janela);
}

bool JanelaWin32::Checked(std::string_view AControle) const {
  const ControleWin32* c = Procurar(AControle);
  return c && SendMessageW(c->Janela, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void JanelaWin32::RepaintControl(std::string_view AControle) {
  if (const ControleWin32* c = Procurar(AControle)) {
    InvalidateRect(c->Janela, nullptr, TRUE);
    UpdateWindow(c->Janela);
  }
}

void JanelaWin32::ClearItems(std::string_view AControle) {
  if (const ControleWin32* c = Procurar(AControle)) {
    SendMessageW(c->Janela, CB_RESETCONTENT, 0, 0);
    SetWindowTextW(c->Janela, L"");
  }
}

void JanelaWin32::AddItem(std::string_view AControle, const std::string& AItem) {
  if (const ControleWin32* c = Procurar(AControle))
    SendMessageW(c->Janela, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ParaUtf16(AItem).c_str()));
}

}  // namespace tolvane
