#pragma once

#include <QByteArray>
#include <QImage>

namespace tolvane {

// Decodes a PNG picture with libpng (already loaded by Qt's own PNG support). Qt's readers
// would load every image-format plugin of the system first to ask whether one of them reads
// PNG, at each start. A null image when the data is no PNG.
QImage DecodificarPng(const QByteArray& ADados);

}  // namespace tolvane
