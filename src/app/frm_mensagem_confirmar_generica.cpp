#include "app/frm_mensagem_confirmar_generica.h"

#include "app/layouts.h"

namespace tolvane {

TfrmMensagemConfirmarGenerica* frmMensagemConfirmarGenerica = nullptr;

TfrmMensagemConfirmarGenerica::TfrmMensagemConfirmarGenerica(AplicacaoJanelas& AAplicacao)
    : Formulario(AAplicacao, LayoutFrmMensagemConfirmarGenerica()) {}

void TfrmMensagemConfirmarGenerica::AoClicar(std::string_view AControle) {
  if (AControle == "btnOk") btnOkClick();
  if (AControle == "ckbConcordo") ckbConcordoClick();
}

void TfrmMensagemConfirmarGenerica::btnOkClick() { FJanela->Close(); }

void TfrmMensagemConfirmarGenerica::ckbConcordoClick() {
  FJanela->SetEnabled("btnOk", FJanela->Checked("ckbConcordo"));
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

  for (const char* controle : {"Panel1", "ckbConcordo", "btnOk"})
    janela.SetVisible(controle, AComConfirmacao);
  janela.SetOuterSize(540, AComConfirmacao ? 200 : 80);
  janela.Repaint();

  janela.SetText("lblMensagem", ATexto);
  janela.RepaintControl("lblMensagem");
  AAplicacao.ProcessMessages();

  if (AFecharAutomatico) {
    AAplicacao.Sleep(5000);
    // The messages let through above may have closed and freed the window already.
    if (!vida.expired()) form.btnOkClick();
  }
}

}  // namespace tolvane
