#include "gui/qt/pedido_encerramento.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <csignal>

namespace tolvane {

namespace {

// The signal handler only writes a byte: the rest happens in the message loop.
int gPar[2] = {-1, -1};

void AoSinal(int) {
  const char c = 1;
  [[maybe_unused]] const auto r = write(gPar[0], &c, 1);
}

constexpr int kSinais[] = {SIGTERM, SIGINT, SIGHUP};

}  // namespace

PedidoEncerramento::PedidoEncerramento(std::function<void()> AEncerrar)
    : FEncerrar(std::move(AEncerrar)) {
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, gPar) != 0) return;
  FNotificador = std::make_unique<QSocketNotifier>(gPar[1], QSocketNotifier::Read);
  connect(FNotificador.get(), &QSocketNotifier::activated, this, [this] {
    char buf[16];
    while (read(gPar[1], buf, sizeof buf) > 0) {
    }
    FEncerrar();
  });
  struct sigaction acao {};
  acao.sa_handler = AoSinal;
  sigemptyset(&acao.sa_mask);
  acao.sa_flags = SA_RESTART;
  for (int sinal : kSinais) sigaction(sinal, &acao, nullptr);
}

PedidoEncerramento::~PedidoEncerramento() {
  for (int sinal : kSinais) std::signal(sinal, SIG_DFL);
  FNotificador.reset();
  for (int& fd : gPar) {
    if (fd >= 0) close(fd);
    fd = -1;
  }
}

}  // namespace tolvane
