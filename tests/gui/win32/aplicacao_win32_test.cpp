// The application window's system command "restore", which the taskbar button sends to a
// minimised program (after Win+M, "Show the desktop", or "Minimize" on the button's menu): the
// application window comes back from the taskbar, and the main window shows in the normal state.
#include <windows.h>
#undef MessageBox

#include <gtest/gtest.h>

#include <string_view>

#include "app/formulario.h"
#include "app/layouts.h"
#include "gui/win32/aplicacao_win32.h"
#include "gui/win32/janela_win32.h"

namespace tolvane {
namespace {

// A main window without the start-up work: the restore rule reads only MainForm.
class FormPrincipalVazio : public Formulario {
 public:
  explicit FormPrincipalVazio(AplicacaoJanelas& AAplicacao)
      : Formulario(AAplicacao, LayoutFrmPrincipal()) {}

 protected:
  void AoClicar(std::string_view) override {}
};

TEST(AplicacaoWin32, RestoreCommandBringsBackTheApplicationWindowAndTheMainWindow) {
  struct Caso {
    const char* Nome;
    bool PrincipalMinimizada;
  };
  for (const Caso caso :
       {Caso{"main window as it was", false}, Caso{"main window minimised too", true}}) {
    SCOPED_TRACE(caso.Nome);
    AplicacaoWin32 aplicacao(GetModuleHandleW(nullptr));
    aplicacao.Initialize();
    const auto& form = aplicacao.CreateForm<FormPrincipalVazio>();
    HWND app = aplicacao.JanelaAplicacao();
    HWND principal = static_cast<const JanelaWin32&>(form.Window()).Handle();
    form.Window().Show();
    ASSERT_TRUE(IsWindowVisible(app)) << "no taskbar button while the main window shows";

    if (caso.PrincipalMinimizada) ShowWindow(principal, SW_MINIMIZE);
    ShowWindow(app, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(app));

    SendMessageW(app, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(IsIconic(app));
    EXPECT_TRUE(IsWindowVisible(app));
    EXPECT_TRUE(IsWindowVisible(principal));
    EXPECT_FALSE(IsIconic(principal));
  }
}

}  // namespace
}  // namespace tolvane
