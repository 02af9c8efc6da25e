#pragma once

#include <string>
#include <string_view>

namespace tolvane {

// File-name extension of a desktop shortcut: ".lnk" on Windows, ".desktop" on Linux.
std::string_view ExtensaoAtalho();

// Writes the shortcut AArquivo that starts the program ADestino (full path, no arguments) and
// carries the description ADescricao, replacing a shortcut of that name (Windows: a shell link;
// Linux: a freedesktop launcher with the executable bit set, written to a temporary file and
// renamed over the old one). Returns false when the file could not be written. Throws Erro when
// the platform's shortcut machinery itself is missing (Windows: the shell link object cannot be
// created or lacks an interface).
bool GravarAtalho(const std::string& AArquivo, const std::string& ADestino,
                  const std::string& ADescricao);

}  // namespace tolvane
