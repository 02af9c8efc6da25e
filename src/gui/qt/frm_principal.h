#pragma once

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QWidget>
#include <memory>

#include "app/janela_principal.h"
#include "app/principal.h"
#include "gui/qt/icone_bandeja.h"

namespace tolvane {

class AplicacaoQt;

// The main window: two pages, the tray icon and its menu. Its handlers call the portable logic.
class TfrmPrincipal : public QWidget, public JanelaPrincipal {
 public:
  explicit TfrmPrincipal(AplicacaoQt& AAplicacao);
  ~TfrmPrincipal() override;

  QTabWidget* PageControl1;
  QWidget* TabSheet1;
  QLabel* lblVersao;
  QFrame* Bevel1;
  QFrame* Bevel2;
  QLabel* lblNomeArquivo;
  QFrame* Bevel3;
  QPushButton* BitBtn1;
  QWidget* TabSheet2;
  QLabel* Label1;
  QComboBox* cbListaCertificado;
  QPushButton* BitBtn2;
  QMenu* PopupMenu1;
  QAction* SobreotolvaneAssistente1;
  QAction* N1;
  QAction* Sair1;
  std::unique_ptr<IconeBandeja> TrayIcon1;

  void FormCreate();
  void BitBtn1Click();
  void SobreotolvaneAssistente1Click();
  void Sair1Click();
  void BitBtn2Click();

  // JanelaPrincipal
  void DefinirDicaBandeja(const std::string& ADica) override;
  void LimparCertificados() override;
  void AdicionarCertificado(const std::string& ANome) override;
  std::string TextoCertificado() const override;

 protected:
  void closeEvent(QCloseEvent* AEvento) override;

 private:
  // Runs a handler; an error that leaves it goes to the default error display.
  template <typename F>
  void Tratar(F AManipulador);

  AplicacaoQt& FAplicacao;
  Principal FLogica;
};

}  // namespace tolvane
