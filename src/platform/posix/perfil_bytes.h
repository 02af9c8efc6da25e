#pragma once

#include <string>
#include <string_view>

namespace tolvane {

// LerPerfil (platform/perfil.h) on the bytes of a file already read: the same rules, the same
// UTF-8 result.
std::string ValorPerfil(std::string_view ABytes, std::string_view ASecao, std::string_view AChave);

}  // namespace tolvane
