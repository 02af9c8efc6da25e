#pragma once

#include <QApplication>
#include <memory>

#include "app/aplicacao_janelas.h"
#include "gui/qt/janela_aplicacao_x11.h"

namespace tolvane {

class PedidoEncerramento;

// The application object of the Linux build, on Qt Widgets: the primitives the flows ask of a
// frontend.
class AplicacaoQt : public AplicacaoJanelas {
 public:
  explicit AplicacaoQt(QApplication& AApp);
  ~AplicacaoQt() override;

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

  // The main window's widget, owner of the windows shown modally; null before CreateForm.
  QWidget* MainFormWidget() const;

 protected:
  void ExecutarLaco() override;
  void DefinirTituloJanelaAplicacao(const std::string& ATitulo) override;
  void Postar(std::function<void()> AAcao) override;

 private:
  QApplication& FApp;
  bool FTerminated = false;
  std::unique_ptr<JanelaAplicacao> FJanelaAplicacao;
};

}  // namespace tolvane
