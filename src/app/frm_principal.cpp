#include "app/frm_principal.h"

#include "app/frm_sobre.h"
#include "app/layouts.h"

namespace tolvane {

TfrmPrincipal::TfrmPrincipal(AplicacaoJanelas& AAplicacao)
    : Formulario(AAplicacao, LayoutFrmPrincipal()),
      FTrayIcon1(std::make_unique<IconeBandeja>(
          *FJanela, AAplicacao.CriarBandeja(*FJanela, frm_principal::kPopupMenu1))),
      FLogica(AAplicacao, *this) {}

TfrmPrincipal::~TfrmPrincipal() = default;

void TfrmPrincipal::AoClicar(std::string_view AControle) {
  if (AControle == frm_principal::kBitBtn1) BitBtn1Click();
  if (AControle == frm_principal::kBitBtn2) BitBtn2Click();
  if (AControle == frm_principal::kSobreotolvaneAssistente1) SobreotolvaneAssistente1Click();
  if (AControle == frm_principal::kSair1) Sair1Click();
}

void TfrmPrincipal::FormCreate() { FLogica.FormCreate(); }

void TfrmPrincipal::BitBtn1Click() {
  FTrayIcon1->HideMainForm();
  FTrayIcon1->SetIconVisible(true);
}

void TfrmPrincipal::SobreotolvaneAssistente1Click() {
  TfrmSobre& frmSobre = FAplicacao.CreateForm<TfrmSobre>();
  FAplicacao.SetShowMainForm(false);
  frmSobre.ShowModal();
}

void TfrmPrincipal::Sair1Click() { FLogica.Sair1Click(); }

void TfrmPrincipal::BitBtn2Click() { FLogica.BitBtn2Click(); }

void TfrmPrincipal::AoFechar() { FAplicacao.Terminate(); }

void TfrmPrincipal::DefinirDicaBandeja(const std::string& ADica) { FTrayIcon1->SetHint(ADica); }

void TfrmPrincipal::LimparCertificados() {
  FJanela->ClearItems(frm_principal::kCbListaCertificado);
}

void TfrmPrincipal::AdicionarCertificado(const std::string& ANome) {
  FJanela->AddItem(frm_principal::kCbListaCertificado, ANome);
}

std::string TfrmPrincipal::TextoCertificado() const {
  return FJanela->Text(frm_principal::kCbListaCertificado);
}

}  // namespace tolvane
