// The tray icon when the shell rebuilds its notification area: a restarted shell has lost every
// icon and broadcasts "TaskbarCreated"; the icon comes back if the program shows one, and only
// then.
#include <windows.h>
#undef MessageBox
#include <shellapi.h>

#include <gtest/gtest.h>

#include "apoio_janelas_win32.h"
#include "app/janela.h"
#include "app/layouts.h"
#include "gui/win32/aplicacao_win32.h"

namespace tolvane {
namespace {

using teste::SemEventos;

// Stops at the window of the tray icon's class, a named CALLBACK for the 32-bit build's stdcall.
BOOL CALLBACK CompararJanelaDoIcone(HWND AJanela, LPARAM AL) {
  wchar_t classe[64]{};
  GetClassNameW(AJanela, classe, 64);
  if (wcscmp(classe, L"TTrayIcon") != 0) return TRUE;
  *reinterpret_cast<HWND*>(AL) = AJanela;
  return FALSE;
}

// The hidden window whose icon the shell keeps, one of this thread's.
HWND JanelaDoIcone() {
  HWND achada = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), CompararJanelaDoIcone, reinterpret_cast<LPARAM>(&achada));
  return achada;
}

// What the shell is asked about or told to forget: the program's only icon on that window.
NOTIFYICONDATAW Icone(HWND AJanela) {
  NOTIFYICONDATAW dados{};
  dados.cbSize = sizeof dados;
  dados.hWnd = AJanela;
  dados.uID = 1;
  dados.uFlags = NIF_TIP;
  wcscpy_s(dados.szTip, L"tolvane Gestor");
  return dados;
}

// Whether the shell has the icon: it changes only an icon it has.
bool NaBandeja(HWND AJanela) {
  NOTIFYICONDATAW dados = Icone(AJanela);
  return Shell_NotifyIconW(NIM_MODIFY, &dados) != FALSE;
}

TEST(BandejaWin32, AddedAgainWhenTheShellRebuildsTheNotificationArea) {
  AplicacaoWin32 aplicacao(GetModuleHandleW(nullptr));
  aplicacao.Initialize();
  SemEventos eventos;
  const auto janela = aplicacao.CriarJanela(LayoutFrmPrincipal(), eventos);
  const auto bandeja = aplicacao.CriarBandeja(*janela, "PopupMenu1");
  bandeja->SetHint("tolvane Gestor");
  bandeja->SetPresent(true);
  HWND h = JanelaDoIcone();
  ASSERT_NE(h, nullptr);
  ASSERT_TRUE(NaBandeja(h)) << "the shell never had the icon";
  const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");

  // The shell restarted: the icon is gone until the program hears of it.
  NOTIFYICONDATAW perdido = Icone(h);
  ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &perdido));
  ASSERT_FALSE(NaBandeja(h));
  SendMessageW(h, taskbarCreated, 0, 0);
  EXPECT_TRUE(NaBandeja(h));

  // Hidden by the program, it stays hidden when the shell restarts.
  bandeja->SetPresent(false);
  ASSERT_FALSE(NaBandeja(h));
  SendMessageW(h, taskbarCreated, 0, 0);
  EXPECT_FALSE(NaBandeja(h));
}

}  // namespace
}  // namespace tolvane
