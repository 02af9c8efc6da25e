#include "platform/area_trabalho.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <string_view>

namespace tolvane {

namespace {

std::string PastaPessoal() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
  return "/";
}

std::string SemSeparadorFinal(std::string ACaminho) {
  while (ACaminho.size() > 1 && ACaminho.back() == '/') ACaminho.pop_back();
  return ACaminho;
}

// One line of user-dirs.dirs: XDG_DESKTOP_DIR="$HOME/..." or XDG_DESKTOP_DIR="/...", a backslash
// taking the next character as it is. Other shapes are not the file's format and are ignored,
// as xdg-user-dirs and GLib ignore them.
std::optional<std::string> LerLinhaDesktop(std::string_view ALinha, const std::string& AHome) {
  auto pular = [&] {
    while (!ALinha.empty() && (ALinha.front() == ' ' || ALinha.front() == '\t'))
      ALinha.remove_prefix(1);
  };
  pular();
  constexpr std::string_view kChave = "XDG_DESKTOP_DIR";
  if (!ALinha.starts_with(kChave)) return std::nullopt;
  ALinha.remove_prefix(kChave.size());
  pular();
  if (!ALinha.starts_with('=')) return std::nullopt;
  ALinha.remove_prefix(1);
  pular();
  if (!ALinha.starts_with('"')) return std::nullopt;
  ALinha.remove_prefix(1);
  std::string pasta;
  if (ALinha.starts_with("$HOME")) {
    ALinha.remove_prefix(5);
    if (!ALinha.empty() && ALinha.front() != '/' && ALinha.front() != '"') return std::nullopt;
    pasta = AHome;
  } else if (!ALinha.starts_with('/')) {
    return std::nullopt;
  }
  for (std::size_t i = 0; i < ALinha.size(); ++i) {
    if (ALinha[i] == '"') return pasta;
    if (ALinha[i] == '\\' && i + 1 < ALinha.size()) ++i;
    pasta += ALinha[i];
  }
  return std::nullopt;  // no closing quote
}

}  // namespace

std::string PastaAreaTrabalho() {
  const std::string home = PastaPessoal();
  std::string configuracao;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/')
    configuracao = xdg;  // a relative value is invalid and ignored
  else
    configuracao = home + "/.config";

  std::optional<std::string> pasta;
  std::ifstream arquivo(configuracao + "/user-dirs.dirs");
  for (std::string linha; std::getline(arquivo, linha);)
    if (auto lida = LerLinhaDesktop(linha, home)) pasta = std::move(lida);  // the last one counts
  return SemSeparadorFinal(pasta && !pasta->empty() ? *pasta : home + "/Desktop");
}

}  // namespace tolvane
