#pragma once

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

}  // namespace tolvane
