// The answer file's bytes for any answer: lines end in CR LF and nowhere else, nothing after a
// NUL, and the file is in the locale's character set, UTF-8 or, through iconv, ASCII.
#include <cstdint>
#include <string>
#include <string_view>

#include "classtrib/arquivo_retorno.h"
#include "core/utf8.h"
#include "verificar.h"

using tolvane::fuzz::Verificar;

namespace {

void VerificarArquivo(std::string_view AResposta, bool AAscii) {
  const std::string bytes = tolvane::ConteudoArquivoRetorno(AResposta);
  Verificar(bytes.find('\0') == std::string::npos, "NUL in the file");
  if (AAscii) {
    for (unsigned char c : bytes) Verificar(c < 0x80, "file not in ASCII");
  } else if (tolvane::EhUtf8Valido(AResposta)) {
    // The answer reaches the file as text (the request object has made any bytes valid UTF-8).
    Verificar(tolvane::EhUtf8Valido(bytes), "file not in UTF-8");
  }
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r') Verificar(i + 1 < bytes.size() && bytes[i + 1] == '\n', "lone CR");
    if (bytes[i] == '\n') Verificar(i > 0 && bytes[i - 1] == '\r', "lone LF");
  }
  Verificar(bytes.empty() || bytes.ends_with("\r\n"), "last line without CR LF");
  // The text before the first NUL, without line breaks, is all there is in the file.
  const std::string_view antesNul = AResposta.substr(0, AResposta.find('\0'));
  std::size_t semQuebras = 0;
  for (char c : antesNul) semQuebras += c != '\r' && c != '\n';
  Verificar(semQuebras == 0 || !bytes.empty(), "text lost");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* AData, std::size_t ATamanho) {
  const std::string_view resposta(reinterpret_cast<const char*>(AData), ATamanho);
  for (const char* conjunto : tolvane::fuzz::kConjuntos) {
    tolvane::fuzz::UsarConjunto(conjunto);
    VerificarArquivo(resposta, std::string_view(conjunto) == "C");
  }
  return 0;
}
