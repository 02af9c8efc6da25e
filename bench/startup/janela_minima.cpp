// The yardsticks of the start-up benchmark: a minimal Qt Widgets program that shows one window of
// the main window's size, and, given a database, the same after the program's database work done
// the shortest way (cliente_minimo.c), in the same order as the program: Qt first, then the
// database, then the window.
//
//   bench_janela_minima [database]

#include <QApplication>
#include <QWidget>

#include "cliente_minimo.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc > 1 && TrabalhoBancoMinimo(argv[1]) != 0) return 1;
  QWidget janela;
  janela.setWindowTitle(QStringLiteral("janela minima"));
  janela.resize(540, 357);
  janela.show();
  return app.exec();
}
