#include "gui/qt/imagens.h"

#include <QBitmap>
#include <QFile>
#include <QPixmap>
#include <QPixmapCache>

#include "gui/qt/imagem_jpeg.h"
#include "gui/qt/imagem_png.h"

namespace tolvane {

namespace {

QByteArray Recurso(const char* ANome) {
  QFile arquivo(QString::fromLatin1(ANome));
  return arquivo.open(QIODevice::ReadOnly) ? arquivo.readAll() : QByteArray();
}

// Decoded once: the program icon serves both the main window and the tray.
QPixmap Png(const char* ANome) {
  const QString chave = QString::fromLatin1(ANome);
  QPixmap p;
  if (QPixmapCache::find(chave, &p)) return p;
  p = QPixmap::fromImage(DecodificarPng(Recurso(ANome)));
  QPixmapCache::insert(chave, p);
  return p;
}

}  // namespace

QIcon IconePrograma() { return QIcon(Png(":/tolvane/icone.png")); }

QImage Logo() { return DecodificarJpeg(Recurso(":/tolvane/logo.jpg")); }

QIcon IconeSetaBaixo() {
  QIcon icone;
  icone.addPixmap(Png(":/tolvane/seta_baixo.png"), QIcon::Normal);
  icone.addPixmap(Png(":/tolvane/seta_baixo_desabilitada.png"), QIcon::Disabled);
  return icone;
}

QIcon IconeOk() {
  // One 32 x 16 bitmap with the enabled and the disabled check mark side by side, on a magenta
  // background drawn transparent.
  QPixmap tira = Png(":/tolvane/ok.png");
  tira.setMask(tira.createMaskFromColor(QColor(255, 0, 255), Qt::MaskInColor));
  QIcon icone;
  icone.addPixmap(tira.copy(0, 0, 16, 16), QIcon::Normal);
  icone.addPixmap(tira.copy(16, 0, 16, 16), QIcon::Disabled);
  return icone;
}

}  // namespace tolvane
