#pragma once

#include <string>

namespace tolvane {

// Copies AArquivo into a new folder of its own under this user's temporary folder, keeping its
// name and its modification time, and returns the copy's path. Nobody but this user can write
// there (Linux: mkdtemp, mode 0700; Windows: the user's own %TEMP%), so a program checked there
// is the program that runs. The copy is executable by its owner. Throws Erro "EOSError" naming the
// file and the cause; after a failure nothing is left.
std::string CopiarParaPastaPrivada(const std::string& AArquivo);

}  // namespace tolvane
