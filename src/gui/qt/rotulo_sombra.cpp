#include "gui/qt/rotulo_sombra.h"

#include <QPainter>

namespace tolvane {

void RotuloSombra::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setFont(font());
  const QRect area = contentsRect();
  p.setPen(palette().color(QPalette::Light));
  p.drawText(area.translated(1, 1), static_cast<int>(alignment()), text());
  p.setPen(palette().color(QPalette::WindowText));
  p.drawText(area, static_cast<int>(alignment()), text());
}

}  // namespace tolvane
