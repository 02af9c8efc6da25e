#pragma once

#include <chrono>
#include <string>

namespace tolvane {

// Waits, at most ALimite, until the executable ACaminhoExecutavel about to be replaced is no longer
// held by the program that started the updater. Returns false when the limit passed with it
// still held; true when it was let go in time, or when there was nothing to wait for.
//
// Linux: the updater's parent is waited for when it runs that file (a running file may be
// renamed over, so only the starter's end matters); an updater whose starter has ended already
// (adopted) or that someone ran by hand does not wait. Windows: a running executable is locked,
// so the wait lasts until the file can be opened for writing by nobody else, whoever runs it; a
// missing file, or one refused for another reason than being in use, is not waited for.
bool EsperarFimPrograma(const std::string& ACaminhoExecutavel, std::chrono::milliseconds ALimite);

}  // namespace tolvane
