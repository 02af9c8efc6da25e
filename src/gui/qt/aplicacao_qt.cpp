#include "gui/qt/aplicacao_qt.h"

#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "app/formulario.h"
#include "gui/qt/bandeja_qt.h"
#include "gui/qt/caixa_mensagem.h"
#include "gui/qt/janela_qt.h"
#include "gui/qt/pedido_encerramento.h"

namespace tolvane {

AplicacaoQt::AplicacaoQt(QApplication& AApp) : FApp(AApp) {
  // The program ends by Terminate, not when its last window closes: the tray icon stays.
  FApp.setQuitOnLastWindowClosed(false);
}

AplicacaoQt::~AplicacaoQt() {
  // The windows go before the application window.
  LiberarForms();
  FJanelaAplicacao.reset();
}

void AplicacaoQt::Initialize() {
  FJanelaAplicacao = std::make_unique<JanelaAplicacao>(QString::fromStdString(Title()),
                                                       [this] { RestaurarMainForm(); });
}

void AplicacaoQt::DefinirTituloJanelaAplicacao(const std::string& ATitulo) {
  if (FJanelaAplicacao) FJanelaAplicacao->DefinirTitulo(QString::fromStdString(ATitulo));
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

void AplicacaoQt::Postar(std::function<void()> AAcao) {
  QTimer::singleShot(0, &FApp, std::move(AAcao));
}

int AplicacaoQt::MessageBox(const std::string& ATexto, const std::string& ACaption,
                            unsigned AFlags) {
  CaixaMensagem caixa(QString::fromStdString(ATexto), QString::fromStdString(ACaption), AFlags,
                      QApplication::activeWindow());
  caixa.exec();
  return 1;  // OK
}

void AplicacaoQt::EncerrarProcesso(int ACodigoSaida) {
  std::fflush(nullptr);
  std::_Exit(ACodigoSaida);
}

std::unique_ptr<Janela> AplicacaoQt::CriarJanela(const LayoutJanela& ALayout,
                                                 EventosJanela& AEventos) {
  return std::make_unique<JanelaQt>(*this, ALayout, AEventos);
}

std::unique_ptr<Bandeja> AplicacaoQt::CriarBandeja(Janela& AJanela, std::string_view AMenu) {
  return std::make_unique<BandejaQt>(*static_cast<JanelaQt&>(AJanela).Menu(AMenu));
}

void AplicacaoQt::Sleep(int AMilissegundos) {
  // What was drawn before the wait must be on the screen during it.
  FApp.sync();
  std::this_thread::sleep_for(std::chrono::milliseconds(AMilissegundos));
}

QWidget* AplicacaoQt::MainFormWidget() const {
  return MainForm() ? static_cast<JanelaQt*>(&MainForm()->Window()) : nullptr;
}

void AplicacaoQt::ExecutarLaco() {
  // The end of the session (SIGTERM, SIGINT, SIGHUP) ends the program from here on.
  const PedidoEncerramento fimDaSessao([this] { Terminate(); });
  if (!FTerminated) FApp.exec();
  FTerminated = true;
}

}  // namespace tolvane
