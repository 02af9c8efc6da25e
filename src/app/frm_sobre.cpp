#include "app/frm_sobre.h"

#include "app/layouts.h"
#include "app/versao.h"

namespace tolvane {

TfrmSobre::TfrmSobre(AplicacaoJanelas& AAplicacao) : Formulario(AAplicacao, LayoutFrmSobre()) {}

void TfrmSobre::AoClicar(std::string_view AControle) {
  if (AControle == frm_sobre::kBtnFechar) btnFecharClick();
}

int TfrmSobre::ShowModal() {
  FormShow();
  return FJanela->ShowModal();
}

void TfrmSobre::FormShow() { MostrarVersao(); }

void TfrmSobre::btnFecharClick() { FJanela->Close(); }

void TfrmSobre::MostrarVersao() {
  // A time that is no file date goes to the default error display; the window is shown anyway,
  // with the label as it was.
  try {
    FJanela->SetText(frm_sobre::kLblVersao, TextoVersao(FAplicacao.ExeName()));
    FJanela->RepaintControl(frm_sobre::kLblVersao);
  } catch (const std::exception& e) {
    FAplicacao.MostrarErro(e);
  }
}

}  // namespace tolvane
