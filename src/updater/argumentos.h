#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tolvane {

// What the program hands over to the updater: "@F1 @M<update folder> @E<executable folder>
// @A<executable name>". "@F1" is the one mode: replace the named executable and start it again.
struct ArgumentosAtualizador {
  std::string PastaAtualizacao;  // "@M", every "§" turned back into a blank
  std::string PastaExecutavel;   // "@E", every "§" turned back into a blank
  std::string NomeExecutavel;    // "@A", as given: a plain file name
};

// Reads the command line: four tokens (one tag each, as the Linux program starts the updater), or
// one Windows-style line with the tags split at blanks. In the line, a piece that starts no tag
// belongs to the tag before it, so a name with blanks ("@Ameu programa") stays whole. Throws Erro
// "EParametro" for a missing, repeated or unknown tag, a mode other than 1, an empty value, and an
// executable name that is no plain file name (a folder separator, "." or "..").
ArgumentosAtualizador LerArgumentos(const std::vector<std::string>& AArgumentos);

// The usage line printed with a command-line fault.
inline constexpr std::string_view kUsoAtualizador =
    "Uso: tolvaneAtualizador @F1 @M<pasta de atualização> @E<pasta do executável> "
    "@A<nome do executável>";

}  // namespace tolvane
