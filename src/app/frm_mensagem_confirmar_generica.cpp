#include "app/frm_mensagem_confirmar_generica.h"

#include "app/layouts.h"

namespace tolvane {

namespace nomes = frm_mensagem_confirmar_generica;

TfrmMensagemConfirmarGenerica* frmMensagemConfirmarGenerica = nullptr;

TfrmMensagemConfirmarGenerica::TfrmMensagemConfirmarGenerica(AplicacaoJanelas& AAplicacao)
    : Formulario(AAplicacao, LayoutFrmMensagemConfirmarGenerica()) {}

void TfrmMensagemConfirmarGenerica::AoClicar(std::string_view AControle) {
  if (AControle == nomes::kBtnOk) btnOkClick();
  if (AControle == nomes::kCkbConcordo) ckbConcordoClick();
}

void TfrmMensagemConfirmarGenerica::btnOkClick() { FJanela->Close(); }

void TfrmMensagemConfirmarGenerica::ckbConcordoClick() {
  FJanela->SetEnabled(nomes::kBtnOk, FJanela->Checked(nomes::kCkbConcordo));
}

void TfrmMensagemConfirmarGenerica::AoFechar() {
  frmMensagemConfirmarGenerica = nullptr;
  FAplicacao.LiberarAoTerminarEvento(*this);
}

void MostrarAviso(AplicacaoJanelas& AAplicacao, const std::string& ATexto, bool AComConfirmacao,
                  bool AFecharAutomatico) {
  auto& form = AAplicacao.CriarFormLiberadoAoFechar<TfrmMensagemConfirmarGenerica>();
  const std::weak_ptr<const void> vida = form.Vida();
  frmMensagemConfirmarGenerica = &form;
  Janela& janela = form.Window();
  janela.Show();

  for (std::string_view controle : {nomes::kPanel1, nomes::kCkbConcordo, nomes::kBtnOk})
    janela.SetVisible(controle, AComConfirmacao);
  janela.SetOuterSize(540, AComConfirmacao ? 200 : 80);
  janela.Repaint();

  janela.SetText(nomes::kLblMensagem, ATexto);
  janela.RepaintControl(nomes::kLblMensagem);
  AAplicacao.ProcessMessages();

  if (AFecharAutomatico) {
    AAplicacao.Sleep(5000);
    // The messages let through above may have closed and freed the window already.
    if (!vida.expired()) form.btnOkClick();
  }
}

}  // namespace tolvane
