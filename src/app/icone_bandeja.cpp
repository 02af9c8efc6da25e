#include "app/icone_bandeja.h"

#include "core/texto.h"

namespace tolvane {

IconeBandeja::IconeBandeja(Janela& AMainForm, std::unique_ptr<Bandeja> ABandeja)
    : FMainForm(AMainForm), FBandeja(std::move(ABandeja)) {}

void IconeBandeja::SetHint(const std::string& AHint) {
  FHint = AHint;
  FBandeja->SetHint(std::string(PrimeirosCaracteres(AHint, 127)));
}

void IconeBandeja::SetIconVisible(bool AVisivel) {
  if (AVisivel != FBandeja->Present()) FBandeja->SetPresent(AVisivel);
}

void IconeBandeja::HideMainForm() { FMainForm.Hide(); }

}  // namespace tolvane
