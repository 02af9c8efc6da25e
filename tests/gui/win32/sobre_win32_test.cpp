// The information window on Win32: the keyboard focus on "&Minimizar" when the window opens, the
// only tab stop, kept there when the user clicks elsewhere in the window and back there when the
// window is active again; the version label, which takes no focus, copies its text from its menu.
#include <windows.h>
#undef MessageBox

#include <gtest/gtest.h>

#include <string>

#include "apoio_janelas_win32.h"
#include "app/layouts.h"
#include "gui/win32/aplicacao_win32.h"
#include "gui/win32/janela_win32.h"
#include "gui/win32/recurso.h"

namespace tolvane {
namespace {

using teste::SemEventos;

// The middle of the control, in its client coordinates.
LPARAM Meio(HWND AControle) {
  RECT r{};
  GetClientRect(AControle, &r);
  return MAKELPARAM(r.right / 2, r.bottom / 2);
}

// The clipboard's Unicode text; empty when it has none.
std::wstring TextoAreaTransferencia() {
  std::wstring texto;
  if (!OpenClipboard(nullptr)) return texto;
  if (HANDLE dados = GetClipboardData(CF_UNICODETEXT))
    if (const auto* p = static_cast<const wchar_t*>(GlobalLock(dados))) {
      texto = p;
      GlobalUnlock(dados);
    }
  CloseClipboard();
  return texto;
}

class SobreWin32 : public ::testing::Test {
 protected:
  void SetUp() override {
    FAplicacao.Initialize();  // COM, for the pictures
    FJanela = FAplicacao.CriarJanela(LayoutFrmSobre(), FEventos);
    ASSERT_NE(Win32().Handle(), nullptr);
    FJanela->Show();
    ASSERT_EQ(GetActiveWindow(), Win32().Handle());
  }

  const JanelaWin32& Win32() const { return static_cast<const JanelaWin32&>(*FJanela); }

  AplicacaoWin32 FAplicacao{GetModuleHandleW(nullptr)};
  SemEventos FEventos;
  std::unique_ptr<Janela> FJanela;
};

TEST_F(SobreWin32, TheFocusIsOnItsButtonAndStaysThere) {
  HWND h = Win32().Handle();
  HWND botao = Win32().JanelaControle("btnFechar");
  ASSERT_NE(botao, nullptr);
  EXPECT_EQ(GetFocus(), botao) << "when the window opens";
  // Tab and Shift+Tab stay on it.
  EXPECT_EQ(GetNextDlgTabItem(h, botao, FALSE), botao);
  EXPECT_EQ(GetNextDlgTabItem(h, botao, TRUE), botao);

  for (const Controle& c : LayoutFrmSobre().Controles) {
    if (c.Nome == "btnFechar") continue;
    SCOPED_TRACE(std::string(c.Nome));
    HWND w = Win32().JanelaControle(c.Nome);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(GetWindowLongPtrW(w, GWL_STYLE) & WS_TABSTOP, 0);
    SetFocus(botao);
    SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, Meio(w));
    SendMessageW(w, WM_LBUTTONUP, 0, Meio(w));
    EXPECT_EQ(GetFocus(), botao) << "after a click on it";
  }

  // Another window of the thread active for a moment (a message box, the tray menu's window),
  // then this one again.
  JanelaUnica outra(CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr,
                                    nullptr, GetModuleHandleW(nullptr), nullptr));
  ASSERT_NE(outra, nullptr);
  SetActiveWindow(outra.get());
  ASSERT_EQ(GetActiveWindow(), outra.get());
  SetActiveWindow(h);
  ASSERT_EQ(GetActiveWindow(), h);
  EXPECT_EQ(GetFocus(), botao) << "active again";
}

TEST_F(SobreWin32, TheVersionLabelCopiesItsTextFromItsMenu) {
  HWND rotulo = Win32().JanelaControle("lblVersao");
  ASSERT_NE(rotulo, nullptr);
  FJanela->SetText("lblVersao", "Versão: 25/03/2024 14:37");
  // The mouse reaches the label itself, not the window under it.
  RECT r{};
  GetWindowRect(rotulo, &r);
  EXPECT_EQ(WindowFromPoint(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}), rotulo);
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();

  // The right button opens the menu, whose loop then reads the access key of "&Copiar" from the
  // queue; Escape, left over when the item was chosen, closes a menu that did not take it.
  HWND h = Win32().Handle();
  PostMessageW(h, WM_CHAR, L'c', 0);
  PostMessageW(h, WM_KEYDOWN, VK_ESCAPE, 0);
  SendMessageW(rotulo, WM_RBUTTONDOWN, MK_RBUTTON, Meio(rotulo));
  SendMessageW(rotulo, WM_RBUTTONUP, 0, Meio(rotulo));
  EXPECT_EQ(TextoAreaTransferencia(), L"Versão: 25/03/2024 14:37");
}

}  // namespace
}  // namespace tolvane
