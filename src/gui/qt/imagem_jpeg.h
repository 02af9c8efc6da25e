#pragma once

#include <QByteArray>
#include <QImage>

namespace tolvane {

// Decodes a JPEG picture with libjpeg. A null image when the data is no JPEG.
QImage DecodificarJpeg(const QByteArray& ADados);

}  // namespace tolvane
