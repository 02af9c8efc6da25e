#pragma once

#include <string>

namespace tolvane {

// Private-profile reading of an INI file, as GetPrivateProfileStringW reads it: section and key
// without regard to letter case, first match, blanks trimmed, surrounding quotes removed; a
// missing file, section or key reads as the empty text.
std::string LerPerfil(const std::string& AArquivo, const std::string& ASecao,
                      const std::string& AChave);

}  // namespace tolvane
