#include "gui/qt/aplicacao_qt.h"

#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "gui/qt/caixa_mensagem.h"
#include "gui/qt/frm_mensagem_confirmar_generica.h"
#include "platform/arquivos.h"

namespace tolvane {

AplicacaoQt::AplicacaoQt(QApplication& AApp) : FApp(AApp), FExeName(CaminhoExecutavel()) {
  // The program ends by Terminate, not when its last window closes: the tray icon stays.
  FApp.setQuitOnLastWindowClosed(false);
}

AplicacaoQt::~AplicacaoQt() {
  // Windows go before the application window, newest first.
  while (!FJanelas.empty()) FJanelas.pop_back();
}

std::string AplicacaoQt::Title() const { return FTitulo.toStdString(); }

void AplicacaoQt::SetTitle(const std::string& ATitulo) {
  FTitulo = QString::fromStdString(ATitulo);
  if (FJanelaAplicacao) FJanelaAplicacao->DefinirTitulo(FTitulo);
}

void AplicacaoQt::Initialize() {
  FJanelaAplicacao = std::make_unique<JanelaAplicacao>(FTitulo, [this] { RestaurarMainForm(); });
}

void AplicacaoQt::ProcessMessages() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void AplicacaoQt::Terminate() {
  // Posted, like the request on the Windows message queue: the caller runs on to its end, and
  // the loop that takes the request (a modal window's or Run's) stops.
  QTimer::singleShot(0, &FApp, [this] {
    FTerminated = true;
    QCoreApplication::exit(0);
  });
}

int AplicacaoQt::MessageBox(const std::string& ATexto, const std::string& ACaption,
                            unsigned AFlags) {
  CaixaMensagem caixa(QString::fromStdString(ATexto), QString::fromStdString(ACaption), AFlags,
                      QApplication::activeWindow());
  caixa.exec();
  return 1;  // OK
}

void AplicacaoQt::MostrarAviso(const std::string& ATexto, bool AComConfirmacao,
                               bool AFecharAutomatico) {
  tolvane::MostrarAviso(*this, QString::fromStdString(ATexto), AComConfirmacao, AFecharAutomatico);
}

void AplicacaoQt::EncerrarProcesso(int ACodigoSaida) {
  std::fflush(nullptr);
  std::_Exit(ACodigoSaida);
}

void AplicacaoQt::Run() {
  if (FShowMainForm && FMainForm) RestaurarMainForm();
  if (!FTerminated) FApp.exec();
  FTerminated = true;
}

void AplicacaoQt::RestaurarMainForm() {
  if (!FMainForm) return;
  if (FMainForm->isMinimized()) FMainForm->showNormal();
  FMainForm->show();
  FMainForm->raise();
  FMainForm->activateWindow();
}

}  // namespace tolvane
