#pragma once

#include <string>
#include <string_view>

namespace tolvane {

// Conversions between the system's UTF-8 texts and the 8-bit "ANSI" text of the platform
// (Linux: the locale's character set, normally UTF-8; Windows: the ANSI code page).

// UTF-8 to ANSI; characters the character set cannot hold become "?".
std::string ParaAnsi(std::string_view AUtf8);

// ANSI to UTF-8; bytes that are not valid in the character set become U+FFFD.
std::string DeAnsi(std::string_view AAnsi);

}  // namespace tolvane
