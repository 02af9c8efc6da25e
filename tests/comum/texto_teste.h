#pragma once

#include <string>
#include <string_view>

namespace tolvane::teste {

// ATexto AVezes times over (empty for 0 or less).
std::string Repetir(std::string_view ATexto, int AVezes);

}  // namespace tolvane::teste
