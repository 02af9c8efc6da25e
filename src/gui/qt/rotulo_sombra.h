#pragma once

#include <QLabel>

namespace tolvane {

// A label whose text carries a 1-pixel shadow, offset to the right and downwards, in the
// button-highlight colour.
class RotuloSombra : public QLabel {
 public:
  using QLabel::QLabel;

 protected:
  void paintEvent(QPaintEvent* AEvento) override;
};

}  // namespace tolvane
