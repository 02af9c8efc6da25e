#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "core/executavel.h"

namespace tolvane {

// A folder and a name inside it, with the platform's separator between them (none added when the
// folder already ends with one, as a root folder does).
inline std::string JuntarCaminho(std::string_view APasta, std::string_view ANome) {
  std::string r(APasta);
  if (!r.empty() && r.back() != '/' && r.back() != kSeparador) r += kSeparador;
  return r.append(ANome);
}

// A UTF-8 path for the standard library, which would read a plain std::string in the ANSI code
// page on Windows.
inline std::filesystem::path CaminhoUtf8(std::string_view ACaminho) {
  return std::filesystem::path(std::u8string(ACaminho.begin(), ACaminho.end()));
}

}  // namespace tolvane
