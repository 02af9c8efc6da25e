// The private-profile reader on any file: no crash, and every value it gives is UTF-8 of at most
// 2047 characters without blanks at its ends (quotes aside).
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/texto.h"
#include "core/utf8.h"
#include "platform/perfil.h"

namespace {

// One file per process, rewritten for each input: the reader takes a path.
const std::string& Arquivo() {
  static const std::string caminho = "/dev/shm/tolvane-perfil-fuzz-" + std::to_string(getpid());
  return caminho;
}

void Verificar(bool ACondicao, const char* AFalha) {
  if (!ACondicao) {
    std::fprintf(stderr, "%s\n", AFalha);
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* AData, std::size_t ATamanho) {
  if (FILE* f = std::fopen(Arquivo().c_str(), "wb")) {
    std::fwrite(AData, 1, ATamanho, f);
    std::fclose(f);
  } else {
    std::abort();
  }
  // The names the system reads, and odd ones: empty, accented, with blanks.
  static const char* const kNomes[][2] = {{"IniServidor", "nomearquivo"},
                                          {"Database", "Servidor"},
                                          {"DATABASE", "PATH"},
                                          {"configuracao", "pastamestre"},
                                          {"", ""},
                                          {"Seção", "Chave é"},
                                          {" a ", " b "}};
  for (const auto& n : kNomes) {
    const std::string valor = tolvane::LerPerfil(Arquivo(), n[0], n[1]);
    Verificar(tolvane::EhUtf8Valido(valor), "value is not UTF-8");
    Verificar(tolvane::ContarCaracteres(valor) <= 2047, "value longer than 2047 characters");
  }
  return 0;
}
