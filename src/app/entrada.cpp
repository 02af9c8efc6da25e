#include "app/entrada.h"

#include "app/frm_principal.h"
#include "platform/janelas.h"

namespace tolvane {

int Entrada(const std::function<std::unique_ptr<AplicacaoJanelas>()>& ACriarAplicacao) {
  // The ERP's station, not another copy of this program: ours is titled "tolvane Gestor".
  const bool outraEstacao = ExisteJanela(kClasseJanelaAplicacao, "tolvane Assistente");
  const std::unique_ptr<AplicacaoJanelas> Application = ACriarAplicacao();
  if (outraEstacao) {
    Application->MessageBox("Já existe uma estação do tolvane Assistente em execução.",
                            "Aviso do sistema", kMbOk | kMbIconWarning);
    return 0;
  }

  Application->Initialize();
  Application->SetTitle("tolvane Gestor");
  Application->SetShowMainForm(false);
  TfrmPrincipal& frmPrincipal = Application->CreateForm<TfrmPrincipal>();
  frmPrincipal.TrayIcon1().SetIconVisible(true);
  Application->Run();
  return 0;
}

}  // namespace tolvane
