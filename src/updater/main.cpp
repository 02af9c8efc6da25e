#include <clocale>
#include <iostream>
#include <string>
#include <vector>

#include "updater/atualizador.h"

int main(int argc, char** argv) {
  // System error texts in the user's language.
  std::setlocale(LC_ALL, "");
  const std::vector<std::string> argumentos(argv + 1, argv + argc);
  return tolvane::ExecutarAtualizador(argumentos, std::cerr);
}
