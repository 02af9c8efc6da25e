// Helper of the updater's Windows suite: the program that the updater replaces and starts again.
//   programa_substituido [<ms>]
// runs for <ms> milliseconds first (its executable in use meanwhile), then, when the environment
// variable TOLVANE_REGISTRO names a file, writes into it its current folder, "[" + the failure
// variable of the update + "]" and its argument count, one per line.
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "core/caminho.h"
#include "platform/nomes.h"
#include "platform/processo.h"
#include "platform/substituicao_arquivo.h"

int main(int argc, char** argv) {
  using namespace tolvane;
  const auto argumentos = ArgumentosDoPrograma(argc, argv);
  if (!argumentos.empty())
    std::this_thread::sleep_for(std::chrono::milliseconds(std::stol(argumentos[0])));
  const auto registro = LerVariavelAmbiente("TOLVANE_REGISTRO");
  if (!registro || registro->empty()) return 0;
  SubstituirArquivo(*registro, TextoDe(std::filesystem::current_path()) + "\n[" +
                                   LerVariavelAmbiente(kVariavelFalhaAtualizacao).value_or("") +
                                   "]\n" + std::to_string(argumentos.size()) + "\n");
  return 0;
}
