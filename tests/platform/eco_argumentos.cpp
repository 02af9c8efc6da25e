// Helper of the program-start suite: writes the arguments it got after the first, one per line
// and each followed by "|", into the file its first argument names (whole, as it appears).
#include <string>

#include "platform/processo.h"
#include "platform/substituicao_arquivo.h"

int main(int argc, char** argv) {
  const auto argumentos = tolvane::ArgumentosDoPrograma(argc, argv);
  if (argumentos.empty()) return 2;
  std::string texto;
  for (std::size_t i = 1; i < argumentos.size(); ++i) texto += argumentos[i] + "|\n";
  tolvane::SubstituirArquivo(argumentos[0], texto);
  return 0;
}
