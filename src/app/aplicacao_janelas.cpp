#include "app/aplicacao_janelas.h"

#include "app/formulario.h"
#include "app/frm_mensagem_confirmar_generica.h"
#include "platform/arquivos.h"

namespace tolvane {

AplicacaoJanelas::AplicacaoJanelas() : FExeName(CaminhoExecutavel()) {}

AplicacaoJanelas::~AplicacaoJanelas() = default;

void AplicacaoJanelas::SetTitle(const std::string& ATitulo) {
  FTitulo = ATitulo;
  DefinirTituloJanelaAplicacao(FTitulo);
}

void AplicacaoJanelas::MostrarAviso(const std::string& ATexto, bool AComConfirmacao,
                                    bool AFecharAutomatico) {
  tolvane::MostrarAviso(*this, ATexto, AComConfirmacao, AFecharAutomatico);
}

void AplicacaoJanelas::Run() {
  if (FShowMainForm && FMainForm) RestaurarMainForm();
  if (!Terminated()) ExecutarLaco();
}

void AplicacaoJanelas::RestaurarMainForm() {
  if (!FMainForm) return;
  Janela& janela = FMainForm->Window();
  if (janela.Minimized()) janela.ShowNormal();
  janela.Show();
  janela.BringToFront();
}

void AplicacaoJanelas::LiberarAoTerminarEvento(Formulario& AForm) {
  for (auto it = FFormsLiberados.begin(); it != FFormsLiberados.end(); ++it) {
    if (it->get() != &AForm) continue;
    // The form's window is still inside the event that closed it: free it from the queue.
    std::shared_ptr<Formulario> form(std::move(*it));
    FFormsLiberados.erase(it);
    Postar([form]() mutable { form.reset(); });
    return;
  }
}

void AplicacaoJanelas::LiberarForms() {
  FFormsLiberados.clear();
  // Newest first: information windows before the main window.
  while (!FForms.empty()) FForms.pop_back();
  FMainForm = nullptr;
}

}  // namespace tolvane
