#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tolvane {

// Starts a program and does not wait for it; no shell interprets the arguments. The new program
// inherits the current directory and the environment and, of the open files, only standard
// input, output and error; it runs in a session of its own, so it outlives the caller. Returns an
// empty text on success, else the system's text for the failure (the program missing, a folder,
// not executable, ...).
//
// Linux: posix_spawn, each argument one argv entry, arriving whole. Windows: ShellExecuteExW with
// the "open" verb, the arguments joined by single blanks as the parameters, nothing quoted and
// nothing added, no working directory, SW_SHOWNORMAL; the program splits that line by the
// system's rules, so an argument with a blank arrives as two and an empty one not at all (which
// is why the update hand-over writes the blanks of its folders as "§").
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
