#include "core/caminho.h"

namespace tolvane {

std::filesystem::path CaminhoDe(std::string_view AUtf8) {
  return std::filesystem::path(std::u8string(AUtf8.begin(), AUtf8.end()));
}

std::string TextoDe(const std::filesystem::path& ACaminho) {
  const std::u8string texto = ACaminho.u8string();
  return std::string(texto.begin(), texto.end());
}

}  // namespace tolvane
