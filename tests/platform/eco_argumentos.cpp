// Helper of the program-start suite: writes the arguments it got, one per line and each followed
// by "|", into the file that the environment variable TOLVANE_ECO_SAIDA names (whole, as it
// appears). The file comes by the environment, so that no argument of the case is spent on it.
#include <string>

#include "platform/processo.h"
#include "platform/substituicao_arquivo.h"

int main(int argc, char** argv) {
  const auto saida = tolvane::LerVariavelAmbiente("TOLVANE_ECO_SAIDA");
  if (!saida || saida->empty()) return 2;
  std::string texto;
  for (const auto& a : tolvane::ArgumentosDoPrograma(argc, argv)) texto += a + "|\n";
  tolvane::SubstituirArquivo(*saida, texto);
  return 0;
}
