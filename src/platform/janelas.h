#pragma once

#include <string>

namespace tolvane {

// Whether a top-level window of the window class AClasse whose text is ATitulo exists on the
// user's desktop, letter case ignored in both, hidden windows included (Windows: FindWindowW;
// Linux: the X11 top-level windows by their WM_CLASS class and name, the client windows inside
// a window manager's frames included). No display: nothing is found.
bool ExisteJanela(const std::string& AClasse, const std::string& ATitulo);

}  // namespace tolvane
