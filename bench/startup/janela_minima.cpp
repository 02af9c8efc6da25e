// The yardstick of the start-up benchmark: a minimal Qt Widgets program that shows one window.

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget janela;
  janela.setWindowTitle(QStringLiteral("janela minima"));
  janela.resize(540, 357);
  janela.show();
  return app.exec();
}
