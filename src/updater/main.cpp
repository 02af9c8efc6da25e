#include <clocale>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "platform/processo.h"
#include "updater/atualizador.h"

int main(int argc, char** argv) {
  // System error texts in the user's language.
  std::setlocale(LC_ALL, "");
  try {
    return tolvane::ExecutarAtualizador(tolvane::ArgumentosDoPrograma(argc, argv), std::cerr);
  } catch (const std::exception& e) {
    // A platform service this system lacks, or memory exhausted: nothing has been replaced.
    std::cerr << "tolvaneAtualizador: " << e.what() << "\n";
    return tolvane::kSaidaFalhou;
  }
}
