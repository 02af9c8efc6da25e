// The private-profile reader on any file's bytes: no crash, and every value it gives is UTF-8 of
// at most 2047 characters.
#include <cstdint>
#include <string>
#include <string_view>

#include "core/texto.h"
#include "core/utf8.h"
#include "platform/posix/perfil_bytes.h"
#include "verificar.h"

using tolvane::fuzz::Verificar;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* AData, std::size_t ATamanho) {
  const std::string_view bytes(reinterpret_cast<const char*>(AData), ATamanho);
  // The names the system reads, and odd ones: empty, accented, with blanks.
  static const char* const kNomes[][2] = {{"IniServidor", "nomearquivo"},
                                          {"DATABASE", "PATH"},
                                          {"configuracao", "pastamestre"},
                                          {"", ""},
                                          {"Seção", "Chave é"}};
  // A file without byte-order mark is read in the locale's character set.
  for (const char* conjunto : tolvane::fuzz::kConjuntos) {
    tolvane::fuzz::UsarConjunto(conjunto);
    for (const auto& n : kNomes) {
      const std::string valor = tolvane::ValorPerfil(bytes, n[0], n[1]);
      Verificar(tolvane::EhUtf8Valido(valor), "value is not UTF-8");
      Verificar(tolvane::ContarCaracteres(valor) <= 2047, "value longer than 2047 characters");
    }
  }
  return 0;
}
