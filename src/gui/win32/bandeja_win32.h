#pragma once

#include <string>

#include "app/janela.h"
#include "gui/win32/procedimento_janela.h"
#include "gui/win32/recurso.h"

namespace tolvane {

class AplicacaoWin32;
class JanelaWin32;

// The tray icon on Shell_NotifyIconW: the program's icon with the main window's pop-up menu,
// whose notifications come to a hidden window of its own. The menu opens when the right button
// is pressed (not released), after that window has come to the foreground so that a click
// elsewhere closes it; the left and middle buttons do nothing. The icon is added again when the
// shell rebuilds the notification area ("TaskbarCreated"), and removed on destruction.
class BandejaWin32 : public Bandeja {
 public:
  BandejaWin32(AplicacaoWin32& AAplicacao, JanelaWin32& ADona, HMENU AMenu);
  ~BandejaWin32() override;
  BandejaWin32(const BandejaWin32&) = delete;
  BandejaWin32& operator=(const BandejaWin32&) = delete;

  void SetHint(const std::string& AHint) override;
  void SetPresent(bool APresente) override;
  bool Present() const override { return FPresente; }

 private:
  friend LRESULT CALLBACK ProcedimentoJanela<BandejaWin32>(HWND, UINT, WPARAM, LPARAM) noexcept;
  HWND Handle() const { return FJanela.get(); }
  LRESULT Tratar(UINT AMensagem, WPARAM AW, LPARAM AL);
  Aplicacao& AplicacaoDaJanela();
  NOTIFYICONDATAW Dados(UINT AFlags) const;
  bool Adicionar();
  void AbrirMenu();

  AplicacaoWin32& FAplicacao;
  JanelaWin32& FDona;
  HMENU FMenu;
  UINT FTaskbarCreated;
  std::wstring FDica;
  bool FPresente = false;
  IconeUnico FIcone;
  JanelaUnica FJanela;
};

}  // namespace tolvane
