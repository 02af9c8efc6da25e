#pragma once

#include <QApplication>
#include <QPointer>
#include <QWidget>
#include <memory>
#include <vector>

#include "core/aplicacao.h"
#include "gui/qt/janelas_x11.h"

namespace tolvane {

// The application object of the Linux build, on Qt Widgets.
class AplicacaoQt : public Aplicacao {
 public:
  explicit AplicacaoQt(QApplication& AApp);
  ~AplicacaoQt() override;

  std::string Title() const override;
  void SetTitle(const std::string& ATitulo) override;
  bool ShowMainForm() const override { return FShowMainForm; }
  void SetShowMainForm(bool AMostrar) override { FShowMainForm = AMostrar; }
  std::string ExeName() const override { return FExeName; }
  bool Terminated() const override { return FTerminated; }
  void ProcessMessages() override;
  void Terminate() override;
  int MessageBox(const std::string& ATexto, const std::string& ACaption, unsigned AFlags) override;
  void MostrarAviso(const std::string& ATexto, bool AComConfirmacao,
                    bool AFecharAutomatico) override;
  [[noreturn]] void EncerrarProcesso(int ACodigoSaida) override;

  // Makes the application window (the X11 window other programs search for).
  void Initialize();

  // Creates a window of the class with its designed layout, hidden, and runs its creation
  // handler. The first one becomes the main window. The application owns it until the end.
  template <typename TForm>
  TForm& CreateForm() {
    auto janela = std::make_unique<TForm>(*this);
    TForm& r = *janela;
    FJanelas.push_back(std::move(janela));
    if (!FMainForm) FMainForm = &r;
    r.FormCreate();
    return r;
  }

  QWidget* MainForm() const { return FMainForm; }

  // Shows the main window when ShowMainForm is true, then dispatches messages until the end is
  // requested.
  void Run();

  // The restore rule: the main window is made visible again and brought to the front.
  void RestaurarMainForm();

 private:
  QApplication& FApp;
  QString FTitulo;
  std::string FExeName;
  bool FShowMainForm = true;
  bool FTerminated = false;
  QWidget* FMainForm = nullptr;
  std::vector<std::unique_ptr<QWidget>> FJanelas;
  std::unique_ptr<JanelaAplicacao> FJanelaAplicacao;
};

}  // namespace tolvane
