#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/aplicacao_janelas.h"
#include "gui/win32/procedimento_janela.h"
#include "gui/win32/recurso.h"
#include "platform/apartamento_com.h"

namespace tolvane {

class JanelaWin32;

// The application object of the Windows build on raw Win32: the hidden application window of
// class "TApplication" that carries the taskbar button, the message loops, the request to end,
// the message boxes and the primitives the flows ask of a frontend.
class AplicacaoWin32 : public AplicacaoJanelas {
 public:
  explicit AplicacaoWin32(HINSTANCE AInstancia);
  ~AplicacaoWin32() override;

  bool Terminated() const override { return FTerminated; }
  void ProcessMessages() override;
  void Terminate() override;
  int MessageBox(const std::string& ATexto, const std::string& ACaption, unsigned AFlags) override;
  [[noreturn]] void EncerrarProcesso(int ACodigoSaida) override;
  void Initialize() override;
  std::unique_ptr<Janela> CriarJanela(const LayoutJanela& ALayout,
                                      EventosJanela& AEventos) override;
  std::unique_ptr<Bandeja> CriarBandeja(Janela& AJanela, std::string_view AMenu) override;
  void Sleep(int AMilissegundos) override;

  HINSTANCE Instancia() const { return FInstancia; }
  HWND JanelaAplicacao() const { return FJanelaAplicacao.get(); }

  // The window class of a form, registered at its first use.
  const wchar_t* ClasseJanela(const std::wstring& ANome, WNDPROC AProcedimento);

  // The system's windows, for the taskbar rule, the modal loops and the keyboard navigation.
  void Registrar(JanelaWin32& AJanela);
  void Remover(JanelaWin32& AJanela);
  // Shows the application window (and so the taskbar button) while any window of the system is
  // visible, hides it when none is.
  void AtualizarBotaoTarefas();

  // A modal window's loop: dispatches messages until AFechada says the window has been closed,
  // or a request to end is met (then it is posted again for the loops around, and true is
  // returned). The other windows of the system take no input meanwhile.
  bool LacoModal(JanelaWin32& AJanela, const std::function<bool()>& AFechada);
  // Owner of a window about to be shown modally: the innermost modal window, else the
  // application window.
  HWND DonoModal() const;

 protected:
  void ExecutarLaco() override;
  void DefinirTituloJanelaAplicacao(const std::string& ATitulo) override;
  void Postar(std::function<void()> AAcao) override;

 private:
  friend LRESULT CALLBACK ProcedimentoJanela<AplicacaoWin32>(HWND, UINT, WPARAM, LPARAM) noexcept;
  HWND Handle() const { return FJanelaAplicacao.get(); }
  LRESULT Tratar(UINT AMensagem, WPARAM AW, LPARAM AL);
  Aplicacao& AplicacaoDaJanela() { return *this; }
  // One message: keyboard navigation inside the system's windows, else the window procedure.
  void Despachar(MSG& AMensagem);
  void ExecutarPostados();

  HINSTANCE FInstancia;
  std::set<std::wstring> FClasses;
  std::unique_ptr<ApartamentoCom> FCom;
  std::vector<JanelaWin32*> FJanelas;
  std::vector<JanelaWin32*> FModais;
  std::deque<std::function<void()>> FPostados;
  bool FTerminated = false;
  JanelaUnica FJanelaAplicacao;
};

}  // namespace tolvane
