#pragma once

#include <string>

namespace tolvane {

// The current user's desktop folder, without a trailing separator (Linux: the XDG user directory
// DESKTOP as `xdg-user-dir DESKTOP` finds it; Windows: CSIDL_DESKTOPDIRECTORY). The folder is not
// created when it is missing.
std::string PastaAreaTrabalho();

}  // namespace tolvane
