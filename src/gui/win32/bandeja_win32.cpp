#include "gui/win32/bandeja_win32.h"

#include <shellapi.h>

#include "gui/win32/aplicacao_win32.h"
#include "gui/win32/janela_win32.h"
#include "gui/win32/recursos.h"

namespace tolvane {

namespace {

constexpr UINT kMensagemIcone = WM_APP + 10;
constexpr UINT kIdIcone = 1;

// An early Shell_NotifyIconW can fail while the shell is still starting (the notification area
// is not there yet): a few tries before the program relies on "TaskbarCreated".
constexpr int kTentativas = 5;
constexpr DWORD kPausaTentativaMs = 100;

}  // namespace

BandejaWin32::BandejaWin32(AplicacaoWin32& AAplicacao, JanelaWin32& ADona, HMENU AMenu)
    : FAplicacao(AAplicacao),
      FDona(ADona),
      FMenu(AMenu),
      FTaskbarCreated(RegisterWindowMessageW(L"TaskbarCreated")) {
  // The icon's picture is the program's own 48 x 48 icon, at the size of the tray's icons.
  const int lado = GetSystemMetrics(SM_CXSMICON);
  FIcone.reset(static_cast<HICON>(LoadImageW(AAplicacao.Instancia(),
                                             MAKEINTRESOURCEW(TOLVANE_ICONE_PROGRAMA), IMAGE_ICON,
                                             lado, lado, 0)));
  // A top-level window, hidden: a message-only window would not hear "TaskbarCreated", which
  // the shell broadcasts.
  const wchar_t* classe = AAplicacao.ClasseJanela(L"TTrayIcon", ProcedimentoJanela<BandejaWin32>);
  FJanela.reset(CreateWindowExW(WS_EX_TOOLWINDOW, classe, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                                nullptr, AAplicacao.Instancia(), this));
}

BandejaWin32::~BandejaWin32() {
  if (FPresente) {
    NOTIFYICONDATAW dados = Dados(0);
    Shell_NotifyIconW(NIM_DELETE, &dados);
  }
}

NOTIFYICONDATAW BandejaWin32::Dados(UINT AFlags) const {
  NOTIFYICONDATAW dados{};
  dados.cbSize = sizeof dados;
  dados.hWnd = FJanela.get();
  dados.uID = kIdIcone;
  dados.uFlags = AFlags;
  dados.uCallbackMessage = kMensagemIcone;
  dados.hIcon = FIcone.get();
  // The tooltip holds 127 characters and its end; the hint was cut to them already.
  FDica.copy(dados.szTip, std::size(dados.szTip) - 1);
  return dados;
}

bool BandejaWin32::Adicionar() {
  NOTIFYICONDATAW dados = Dados(NIF_MESSAGE | NIF_ICON | NIF_TIP);
  return Shell_NotifyIconW(NIM_ADD, &dados) != FALSE;
}

void BandejaWin32::SetHint(const std::string& AHint) {
  FDica = ParaUtf16(AHint);
  if (!FPresente) return;
  NOTIFYICONDATAW dados = Dados(NIF_TIP);
  Shell_NotifyIconW(NIM_MODIFY, &dados);
}

void BandejaWin32::SetPresent(bool APresente) {
  if (APresente == FPresente) return;
  FPresente = APresente;
  if (APresente) {
    for (int i = 0; i < kTentativas && !Adicionar(); ++i) ::Sleep(kPausaTentativaMs);
  } else {
    NOTIFYICONDATAW dados = Dados(0);
    Shell_NotifyIconW(NIM_DELETE, &dados);
  }
}

Aplicacao& BandejaWin32::AplicacaoDaJanela() { return FAplicacao; }

LRESULT BandejaWin32::Tratar(UINT AMensagem, WPARAM AW, LPARAM AL) {
  if (AMensagem == kMensagemIcone) {
    if (LOWORD(AL) == WM_RBUTTONDOWN) AbrirMenu();
    return 0;
  }
  if (AMensagem == FTaskbarCreated) {
    if (FPresente) Adicionar();
    return 0;
  }
  return DefWindowProcW(FJanela.get(), AMensagem, AW, AL);
}

void BandejaWin32::AbrirMenu() {
  if (!FMenu) return;
  POINT lugar{};
  GetCursorPos(&lugar);
  HWND janela = FJanela.get();
  SetForegroundWindow(janela);
  // The menu opens from the mouse position towards the middle of the screen: pushed back from a
  // screen edge it would lie under the pointer, and releasing the button that opened it would
  // choose the item there (Wine does push it so, with the tray in a corner).
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromPoint(lugar, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& area = monitor.rcMonitor;
  const UINT alinhamento =
      (lugar.x > (area.left + area.right) / 2 ? TPM_RIGHTALIGN : TPM_LEFTALIGN) |
      (lugar.y > (area.top + area.bottom) / 2 ? TPM_BOTTOMALIGN : TPM_TOPALIGN);
  const UINT comando = static_cast<UINT>(
      TrackPopupMenu(FMenu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY | alinhamento, lugar.x,
                     lugar.y, 0, janela, nullptr));
  // The menu closes properly only after the window has seen one more message.
  PostMessageW(janela, WM_NULL, 0, 0);
  if (comando != 0) FDona.EscolherItemMenu(comando);
}

}  // namespace tolvane
