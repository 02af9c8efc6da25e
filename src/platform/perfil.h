#pragma once

#include <string>
#include <vector>

namespace tolvane {

// One value of an INI file, read as the Windows private-profile function reads it
// (GetPrivateProfileStringW with the empty text as default and a buffer of 2048 characters):
// section and key names matched without regard to letter case, the first section of that name
// and the first key in it win, blanks around names and values removed, one pair of surrounding
// quotes (both single or both double) removed, the value cut to 2047 characters. A missing
// file, section or key reads as the empty text; so does a path that is no regular file (a
// folder, a device) and a file too large to be an INI file. Files are UTF-16 (little or big
// endian) or UTF-8 when they start with the byte-order mark, else in the ANSI character set.
// The result is UTF-8.
std::string LerPerfil(const std::string& AArquivo, const std::string& ASecao,
                      const std::string& AChave);

// The values of AChaves in one section, in their order, each as LerPerfil reads it; the file is
// read once for all of them.
std::vector<std::string> LerValoresPerfil(const std::string& AArquivo, const std::string& ASecao,
                                          const std::vector<std::string>& AChaves);

}  // namespace tolvane
