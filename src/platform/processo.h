#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tolvane {

// Starts a program and does not wait for it. Each argument reaches the program as it is: no shell
// sees them. The new program inherits the current directory and, of the open files, only standard
// input, output and error; it runs in a session of its own, so it outlives the caller. Returns an
// empty text on success, else the system's text for the failure (the program missing, not
// executable, ...).
std::string IniciarPrograma(const std::string& APrograma,
                            const std::vector<std::string>& AArgumentos);

// The running program's arguments, its own name left out, as UTF-8 (Windows: read from the
// UTF-16 command line, since argv there is in the ANSI code page and would lose a folder's
// characters; Linux: argv as it is).
std::vector<std::string> ArgumentosDoPrograma(int argc, char** argv);

// Sets an environment variable of this process (UTF-8), which the programs it starts inherit.
void DefinirVariavelAmbiente(const std::string& ANome, const std::string& AValor);

// The value of an environment variable of this process (UTF-8); no value when it is not set.
std::optional<std::string> LerVariavelAmbiente(const std::string& ANome);

}  // namespace tolvane
