// tolvane Gestor: the tray utility beside the tolvane Empresa ERP.

#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "gui/qt/aplicacao_qt.h"
#include "gui/qt/frm_principal.h"
#include "gui/qt/janelas_x11.h"
#include "gui/qt/pedido_encerramento.h"

using namespace tolvane;

int main(int argc, char** argv) {
  // The application window, the single-instance guard and the tray live on X11.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "xcb");
  bool outraEstacao = false;
  {
    // One look at the display before Qt opens its own connection: is there one, and is another
    // station's application window on it?
    const ConexaoXcb tela = ConectarTela();
    if (!tela) {
      std::fprintf(stderr, "tolvaneGestor: cannot open the X display (DISPLAY=%s).\n",
                   std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "");
      return 1;
    }
    outraEstacao = ExisteJanela(tela.get(), QStringLiteral("TApplication"),
                                QStringLiteral("tolvane Assistente"));
  }
  QApplication app(argc, argv);
  AplicacaoQt aplicacao(app);
  if (outraEstacao) {
    aplicacao.MessageBox("Já existe uma estação do tolvane Assistente em execução.",
                         "Aviso do sistema", MB_OK | MB_ICONWARNING);
    return 0;
  }

  aplicacao.Initialize();
  aplicacao.SetTitle("tolvane Gestor");
  aplicacao.SetShowMainForm(false);
  TfrmPrincipal& frmPrincipal = aplicacao.CreateForm<TfrmPrincipal>();
  frmPrincipal.TrayIcon1->SetIconVisible(true);
  const PedidoEncerramento fimDaSessao([&aplicacao] { aplicacao.Terminate(); });
  aplicacao.Run();
  return 0;
}
