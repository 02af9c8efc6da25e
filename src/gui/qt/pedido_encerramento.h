#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <functional>
#include <memory>

namespace tolvane {

// The end of the session on Linux: SIGTERM, SIGINT and SIGHUP (log-off, shutdown, a closed
// terminal) become a request to end the program, taken by the message loop like "&Sair" without
// its database step. Installed after start-up on purpose: the Firebird client library installs
// handlers of its own for SIGTERM and SIGINT when it connects, and with them the program would
// not end at all.
class PedidoEncerramento : public QObject {
 public:
  explicit PedidoEncerramento(std::function<void()> AEncerrar);
  ~PedidoEncerramento() override;
  PedidoEncerramento(const PedidoEncerramento&) = delete;
  PedidoEncerramento& operator=(const PedidoEncerramento&) = delete;

 private:
  std::function<void()> FEncerrar;
  std::unique_ptr<QSocketNotifier> FNotificador;
};

}  // namespace tolvane
