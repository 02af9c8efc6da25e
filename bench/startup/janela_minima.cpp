// The yardsticks of the start-up benchmark: a minimal Qt Widgets program that shows one window of
// the main window's size, and, given a database, the same after the program's database work done
// the shortest way (cliente_minimo.c), in the same order as the program: Qt first, then the
// database, then the window. With --legenda the window also shows one caption: the first text a
// Qt program draws pays for the font set-up, which a window without text never does.
//
//   bench_janela_minima [--legenda] [database]

#include <QApplication>
#include <QLabel>
#include <QWidget>
#include <cstring>
#include <optional>

#include "cliente_minimo.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const bool legenda = argc > 1 && std::strcmp(argv[1], "--legenda") == 0;
  const int banco = legenda ? 2 : 1;
  if (argc > banco && TrabalhoBancoMinimo(argv[banco]) != 0) return 1;
  QWidget janela;
  janela.setWindowTitle(QStringLiteral("janela minima"));
  janela.resize(540, 357);
  std::optional<QLabel> rotulo;
  if (legenda) rotulo.emplace(QStringLiteral("Testar Consulta"), &janela);
  janela.show();
  return app.exec();
}
