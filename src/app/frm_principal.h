#pragma once

#include <memory>

#include "app/formulario.h"
#include "app/icone_bandeja.h"
#include "app/janela_principal.h"
#include "app/principal.h"

namespace tolvane {

// The main window: two pages, the tray icon and its menu. The start-up sequence and the handlers
// that reach the subsystems are Principal's; this form gives them its controls.
class TfrmPrincipal : public Formulario, private JanelaPrincipal {
 public:
  explicit TfrmPrincipal(AplicacaoJanelas& AAplicacao);
  ~TfrmPrincipal() override;

  void FormCreate() override;
  void BitBtn1Click();
  void SobreotolvaneAssistente1Click();
  void Sair1Click();
  void BitBtn2Click();

  IconeBandeja& TrayIcon1() { return *FTrayIcon1; }
  Principal& Logica() { return FLogica; }

 protected:
  void AoClicar(std::string_view AControle) override;
  // Closing the main window ends the program; the database connection is left to the process
  // end.
  void AoFechar() override;

 private:
  // JanelaPrincipal
  void DefinirDicaBandeja(const std::string& ADica) override;
  void LimparCertificados() override;
  void AdicionarCertificado(const std::string& ANome) override;
  std::string TextoCertificado() const override;

  std::unique_ptr<IconeBandeja> FTrayIcon1;
  Principal FLogica;
};

}  // namespace tolvane
