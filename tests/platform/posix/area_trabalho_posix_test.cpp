// The desktop folder on Linux: the XDG user directory DESKTOP by the rules of xdg-user-dirs.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "comum/arquivos_teste.h"
#include "comum/variavel_ambiente.h"
#include "platform/area_trabalho.h"

namespace tolvane {
namespace {

using namespace teste;
namespace fs = std::filesystem;

TEST(PastaAreaTrabalho, XdgUserDirsRules) {
  struct Caso {
    const char* Rotulo;
    const char* ConfigHome;  // nullptr: unset; "~": <home>/outra
    const char* Arquivo;     // user-dirs.dirs in the config folder used; nullptr: none
    const char* Esperado;    // "~" stands for the home folder
  };
  const Caso casos[] = {
      {"NoFile", nullptr, nullptr, "~/Desktop"},
      {"HomeRelative", nullptr, "XDG_DESKTOP_DIR=\"$HOME/Área de trabalho\"\n",
       "~/Área de trabalho"},
      {"Absolute", nullptr, "XDG_DESKTOP_DIR=\"/srv/mesa\"\n", "/srv/mesa"},
      {"CommentsAndOtherKeys", nullptr,
       "# XDG_DESKTOP_DIR=\"$HOME/nao\"\nXDG_DOWNLOAD_DIR=\"$HOME/Baixados\"\n"
       "  XDG_DESKTOP_DIR = \"$HOME/Mesa\"\n",
       "~/Mesa"},
      {"LastLineCounts", nullptr, "XDG_DESKTOP_DIR=\"$HOME/A\"\nXDG_DESKTOP_DIR=\"$HOME/B\"\n",
       "~/B"},
      {"InvalidValueIgnored", nullptr, "XDG_DESKTOP_DIR=\"Mesa\"\n", "~/Desktop"},
      {"UnterminatedValueIgnored", nullptr, "XDG_DESKTOP_DIR=\"$HOME/Mesa\n", "~/Desktop"},
      {"EscapedQuote", nullptr, "XDG_DESKTOP_DIR=\"$HOME/a\\\"b\"\n", "~/a\"b"},
      {"HomeItself", nullptr, "XDG_DESKTOP_DIR=\"$HOME\"\n", "~"},
      {"TrailingSlashDropped", nullptr, "XDG_DESKTOP_DIR=\"$HOME/Mesa/\"\n", "~/Mesa"},
      {"OwnConfigHome", "~", "XDG_DESKTOP_DIR=\"$HOME/Outra\"\n", "~/Outra"},
      {"RelativeConfigHomeIgnored", "relativa", nullptr, "~/Desktop"},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.Rotulo);
    PastaTemporaria pasta;
    const std::string home = pasta / "home";
    fs::create_directories(home + "/.config");
    VariavelAmbiente varHome("HOME", home);
    std::optional<std::string> configHome;
    if (c.ConfigHome)
      configHome = std::string(c.ConfigHome) == "~" ? home + "/outra" : c.ConfigHome;
    VariavelAmbiente varConfig("XDG_CONFIG_HOME", configHome);
    const std::string pastaConfig =
        configHome && configHome->starts_with('/') ? *configHome : home + "/.config";
    if (c.Arquivo) EscreverArquivo(pastaConfig + "/user-dirs.dirs", c.Arquivo);
    std::string esperado = c.Esperado;
    if (esperado.starts_with('~')) esperado = home + esperado.substr(1);
    EXPECT_EQ(PastaAreaTrabalho(), esperado);
  }
}

}  // namespace
}  // namespace tolvane
