#pragma once

#include <QMenu>
#include <QWidget>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "app/janela.h"
#include "app/layout.h"

class QEventLoop;

namespace tolvane {

class AplicacaoQt;

// A window of the system on Qt Widgets, built from its layout: one widget per control, named as
// the control, its clicks and its closing handed to the form.
class JanelaQt : public QWidget, public Janela {
 public:
  JanelaQt(AplicacaoQt& AAplicacao, const LayoutJanela& ALayout, EventosJanela& AEventos);
  ~JanelaQt() override;

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

  const LayoutJanela& Layout() const { return FLayout; }
  // The widget of a control of the layout (menus and their items have none); null for a name
  // the layout does not have.
  QWidget* Widget(std::string_view ANome) const;
  QMenu* Menu(std::string_view ANome) const;

 protected:
  void closeEvent(QCloseEvent* AEvento) override;
  void resizeEvent(QResizeEvent* AEvento) override;
  void keyPressEvent(QKeyEvent* AEvento) override;

 private:
  void Construir();
  void CriarControle(const Controle& AControle);
  void AjustarAoTexto(QWidget& AWidget, const Controle& AControle);
  void DefinirOrdemTab();
  QWidget* Pai(const Controle& AControle) const;
  // On X11 a window is on the screen only once the window manager has framed and mapped it.
  void EsperarExposicao();
  void Posicionar();
  QMargins Moldura() const;

  AplicacaoQt& FAplicacao;
  const LayoutJanela& FLayout;
  EventosJanela& FEventos;
  std::map<std::string, QWidget*, std::less<>> FControles;
  std::map<std::string, QMenu*, std::less<>> FMenus;
  QEventLoop* FLacoModal = nullptr;
  bool FJaMostrada = false;
};

}  // namespace tolvane
