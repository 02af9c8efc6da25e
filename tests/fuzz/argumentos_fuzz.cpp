// The updater's command line, split at NUL bytes into arguments: it is either refused with
// "EParametro" or gives three non-empty values and a plain file name, never a path (on Linux a
// backslash is a letter of a file name, not a separator).
#include <cstdint>
#include <string>
#include <vector>

#include "core/erro.h"
#include "platform/nomes.h"
#include "updater/argumentos.h"
#include "verificar.h"

using tolvane::fuzz::Verificar;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* AData, std::size_t ATamanho) {
  std::vector<std::string> argumentos(1);
  for (std::size_t i = 0; i < ATamanho; ++i) {
    if (AData[i] == 0)
      argumentos.emplace_back();
    else
      argumentos.back() += static_cast<char>(AData[i]);
  }
  try {
    const auto lidos = tolvane::LerArgumentos(argumentos);
    Verificar(!lidos.PastaAtualizacao.empty() && !lidos.PastaExecutavel.empty() &&
                  !lidos.NomeExecutavel.empty(),
              "empty value accepted");
    const std::string& nome = lidos.NomeExecutavel;
    Verificar(nome.find('/') == std::string::npos &&
                  nome.find(tolvane::kSeparador) == std::string::npos && nome != "." &&
                  nome != "..",
              "executable name is a path");
    Verificar(lidos.PastaAtualizacao.find("§") == std::string::npos &&
                  lidos.PastaExecutavel.find("§") == std::string::npos,
              "section sign left in a folder");
  } catch (const tolvane::Erro& e) {
    Verificar(e.Classe() == "EParametro", "unexpected error kind");
  }
  return 0;
}
