#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "app/janela.h"
#include "app/layout.h"
#include "gui/win32/procedimento_janela.h"
#include "gui/win32/recurso.h"

namespace tolvane {

class AplicacaoWin32;

// A window of the system on raw Win32, built from its layout: a top-level window of class "T" +
// the form's name, owned by the application window, with one standard control per row (STATIC,
// BUTTON, COMBOBOX, the tab control), named as the row. Places, sizes, fonts and pictures are the
// layout's at 96 dots per inch, scaled by the DPI of the window's screen/96, and scaled again
// when the window moves to a screen of another DPI.
//
// Defined in two files: janela_win32.cpp (the window's handling and the Janela calls) and
// construcao_janela_win32.cpp (building the window and its controls from the layout, and
// rebuilding their fonts and pictures for another DPI).
class JanelaWin32 : public Janela {
 public:
  JanelaWin32(AplicacaoWin32& AAplicacao, const LayoutJanela& ALayout, EventosJanela& AEventos);
  ~JanelaWin32() override;
  JanelaWin32(const JanelaWin32&) = delete;
  JanelaWin32& operator=(const JanelaWin32&) = delete;

  void Show() override;
  void Hide() override;
  bool Visible() const override;
  int ShowModal() override;
  void Close() override;
  void SetOuterSize(int ALargura, int AAltura) override;
  void Repaint() override;
  bool Minimized() const override;
  void ShowNormal() override;
  void BringToFront() override;
  void SetText(std::string_view AControle, const std::string& ATexto) override;
  std::string Text(std::string_view AControle) const override;
  void SetVisible(std::string_view AControle, bool AVisivel) override;
  void SetEnabled(std::string_view AControle, bool AHabilitado) override;
  bool Enabled(std::string_view AControle) const override;
  bool Checked(std::string_view AControle) const override;
  void RepaintControl(std::string_view AControle) override;
  void ClearItems(std::string_view AControle) override;
  void AddItem(std::string_view AControle, const std::string& AItem) override;

  HWND Handle() const { return FJanela.get(); }
  // The pop-up menu of the layout's row ANome; null when there is none.
  HMENU Menu(std::string_view ANome) const;
  // The control of the layout's row ANome; null when there is none.
  HWND JanelaControle(std::string_view ANome) const;
  // A menu item chosen (its command identifier): handed to the form as a click.
  void EscolherItemMenu(UINT AComando);

 private:
  struct ControleWin32 {
    const Controle* Linha = nullptr;
    HWND Janela = nullptr;  // owned by the top-level window: destroyed with it
    ListaImagensUnica Imagens;
    BitmapUnico Figura;
  };

  friend LRESULT CALLBACK ProcedimentoJanela<JanelaWin32>(HWND, UINT, WPARAM, LPARAM) noexcept;
  static LRESULT CALLBACK ProcedimentoConteiner(HWND AJanela, UINT AMensagem, WPARAM AW, LPARAM AL);
  LRESULT Tratar(UINT AMensagem, WPARAM AW, LPARAM AL);
  Aplicacao& AplicacaoDaJanela();

  void Construir();
  void CriarControle(const Controle& AControle, int AIdentificador);
  void CriarItemMenu(const Controle& AControle, UINT AComando);
  void DefinirOrdemTab();
  HFONT FonteDe(const Fonte& AFonte);
  HWND Pai(const Controle& AControle) const;
  const ControleWin32* Procurar(std::string_view ANome) const;
  const ControleWin32* ProcurarPorJanela(HWND AJanela) const;
  // At the current DPI: the control's place, size and font, its pictures.
  void Colocar(const ControleWin32& AControle);
  void DefinirFiguras(ControleWin32& AControle);
  // The window moved to a screen of another DPI (WM_DPICHANGED): everything at the new scale, the
  // window at the place and size the system proposes.
  void MudarDpi(int ADpi, const RECT& ASugerido);
  void AjustarAoTexto(const ControleWin32& AControle);
  void MostrarPagina(int AIndice);
  void Posicionar();
  void Fechar();
  void AoRedimensionar();
  void DesenharRotuloSombra(const DRAWITEMSTRUCT& ADesenho);
  // The control that takes the focus when the window becomes active: the one that had it last,
  // else the layout's first; null when neither can.
  HWND FocoAoAtivar() const;
  // The menu of a label whose text users copy, opened at ALugar (screen coordinates).
  void OferecerCopia(HWND AControle, POINT ALugar);
  int S(int APixels) const;

  // The containers (pages and panels) tell their kind in their extra window word.
  static constexpr LONG_PTR kConteinerPainel = 1;

  AplicacaoWin32& FAplicacao;
  const LayoutJanela& FLayout;
  EventosJanela& FEventos;
  int FDpi = 96;
  std::vector<std::pair<Fonte, FonteUnica>> FFontes;
  std::map<std::string, ControleWin32, std::less<>> FControles;
  std::map<UINT, std::string> FComandos;  // control and menu identifiers -> row names
  std::map<std::string, MenuUnico, std::less<>> FMenus;
  std::vector<HWND> FPaginas;  // in tab order
  HWND FPaginaControle = nullptr;
  HWND FFocoGuardado = nullptr;  // the control that had the focus when the window went inactive
  bool FJaMostrada = false;
  bool FModal = false;
  bool FFechada = false;
  JanelaUnica FJanela;
};

}  // namespace tolvane
