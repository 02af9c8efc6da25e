#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/janela.h"
#include "app/layout.h"
#include "core/aplicacao.h"

namespace tolvane {

class Formulario;

// The window class of an application window: ours, and the one of the ERP's station that the
// single-instance guard looks for.
inline constexpr char kClasseJanelaAplicacao[] = "TApplication";

// The application object with its windows: what every frontend gives (the primitives below) and
// what is the same for all of them (title, main window, the forms it owns, the restore rule,
// the notice window). The frontend makes one at the start of the program.
class AplicacaoJanelas : public Aplicacao {
 public:
  AplicacaoJanelas();
  ~AplicacaoJanelas() override;

  std::string Title() const final { return FTitulo; }
  void SetTitle(const std::string& ATitulo) final;
  bool ShowMainForm() const final { return FShowMainForm; }
  void SetShowMainForm(bool AMostrar) final { FShowMainForm = AMostrar; }
  std::string ExeName() const final { return FExeName; }
  void MostrarAviso(const std::string& ATexto, bool AComConfirmacao, bool AFecharAutomatico) final;

  // Prepares the application (COM on Windows) and makes the application window.
  virtual void Initialize() = 0;

  // Shows the main window when ShowMainForm is true, then dispatches messages until the end is
  // requested.
  void Run();

  // Creates a form of the class with its designed layout, hidden, and runs its FormCreate. The
  // first one becomes the main window. The application owns it until the end.
  template <typename TForm>
  TForm& CreateForm() {
    auto form = std::make_unique<TForm>(*this);
    TForm& r = *form;
    FForms.push_back(std::move(form));
    if (!FMainForm) FMainForm = &r;
    r.FormCreate();
    return r;
  }
  Formulario* MainForm() const { return FMainForm; }

  // A form that is freed when its window closes (the notice window): owned by the application
  // until then, freed once the event that closed it is over.
  template <typename TForm>
  TForm& CriarFormLiberadoAoFechar() {
    auto form = std::make_unique<TForm>(*this);
    TForm& r = *form;
    FFormsLiberados.push_back(std::move(form));
    return r;
  }
  void LiberarAoTerminarEvento(Formulario& AForm);

  // The restore rule: the main window back from the tray (normal state first when minimised),
  // then in the foreground.
  void RestaurarMainForm();

  // The frontend's windows and tray.
  virtual std::unique_ptr<Janela> CriarJanela(const LayoutJanela& ALayout,
                                              EventosJanela& AEventos) = 0;
  virtual std::unique_ptr<Bandeja> CriarBandeja(Janela& AJanela, std::string_view AMenu) = 0;

  // Blocks the thread for the time given: a plain wait, no message is processed.
  virtual void Sleep(int AMilissegundos) = 0;

 protected:
  // The message loop of Run, until a request to end is taken.
  virtual void ExecutarLaco() = 0;
  // The application window's text follows the title.
  virtual void DefinirTituloJanelaAplicacao(const std::string& ATitulo) = 0;
  // Runs AAcao from the message queue, after the messages already waiting.
  virtual void Postar(std::function<void()> AAcao) = 0;

  // Frees every form: the frontend calls it at its end while its windowing is still there.
  void LiberarForms();

 private:
  std::string FTitulo;
  std::string FExeName;
  bool FShowMainForm = true;
  Formulario* FMainForm = nullptr;
  std::vector<std::unique_ptr<Formulario>> FForms;
  std::vector<std::unique_ptr<Formulario>> FFormsLiberados;
};

}  // namespace tolvane
