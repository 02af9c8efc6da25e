#pragma once

#include <chrono>
#include <string>

namespace tolvane {

// Waits, at most ALimite, for the program that started the updater to end, when that program is
// the executable ACaminhoExecutavel about to be replaced. Returns false when the limit passed with
// the program still running; true when it ended, or when the updater's starter is not that
// program (it has ended already and the updater was adopted, or someone ran the updater by hand).
bool EsperarFimPrograma(const std::string& ACaminhoExecutavel, std::chrono::milliseconds ALimite);

}  // namespace tolvane
