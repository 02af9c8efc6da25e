// Helper of the client-library suite: loads the Firebird client as the program does (its own
// folder first, then the system folder) and writes what came of it, UTF-8, into the file its one
// argument names: "carregado", or the failure as the default error display names it,
// "<kind>: <text>". A file rather than standard output, whose text mode would turn the CR LF of
// the text into CR CR LF.
#include <string>

#include "core/erro.h"
#include "database/cliente_firebird.h"
#include "platform/biblioteca.h"
#include "platform/processo.h"
#include "platform/substituicao_arquivo.h"

int main(int argc, char** argv) {
  tolvane::RestringirBuscaBibliotecas();
  const auto argumentos = tolvane::ArgumentosDoPrograma(argc, argv);
  if (argumentos.size() != 1) return 2;
  std::string resultado;
  try {
    tolvane::CarregarClienteFirebird();
    resultado = "carregado";
  } catch (const tolvane::Erro& e) {
    resultado = e.Classe() + ": " + e.Mensagem();
  }
  tolvane::SubstituirArquivo(argumentos[0], resultado);
  return 0;
}
