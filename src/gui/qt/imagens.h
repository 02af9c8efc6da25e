#pragma once

#include <QIcon>
#include <QImage>

namespace tolvane {

// The pictures compiled into the program, so that it runs when copied alone into any folder.

QIcon IconePrograma();   // 48 x 48, the window and tray icon
QImage Logo();           // 131 x 152 colour picture of the information window
QIcon IconeSetaBaixo();  // 16 x 16 down arrow, with its picture for the disabled state
QIcon IconeOk();         // 16 x 16 check mark, with its picture for the disabled state

}  // namespace tolvane
