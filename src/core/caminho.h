#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tolvane {

// The one bridge between the system's UTF-8 texts and std::filesystem paths. A plain
// std::string given to or taken from a path is read in the ANSI code page on Windows, where a
// non-ASCII folder would then be lost; these go through char8_t on every system.
std::filesystem::path CaminhoDe(std::string_view AUtf8);
std::string TextoDe(const std::filesystem::path& ACaminho);

}  // namespace tolvane
