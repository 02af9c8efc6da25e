// The answer file's bytes for any answer: lines end in CR LF and nowhere else, nothing after a
// NUL, and a text answer stays in the locale's character set (UTF-8 here).
#include <clocale>
#include <cstdint>
#include <string>
#include <string_view>

#include "classtrib/arquivo_retorno.h"
#include "core/utf8.h"
#include "verificar.h"

using tolvane::fuzz::Verificar;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::setlocale(LC_ALL, "C.UTF-8");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* AData, std::size_t ATamanho) {
  const std::string_view resposta(reinterpret_cast<const char*>(AData), ATamanho);
  const std::string bytes = tolvane::ConteudoArquivoRetorno(resposta);
  Verificar(bytes.find('\0') == std::string::npos, "NUL in the file");
  // The answer reaches the file as text (the request object has made any bytes valid UTF-8).
  if (tolvane::EhUtf8Valido(resposta))
    Verificar(tolvane::EhUtf8Valido(bytes), "file not in the character set");
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r') Verificar(i + 1 < bytes.size() && bytes[i + 1] == '\n', "lone CR");
    if (bytes[i] == '\n') Verificar(i > 0 && bytes[i - 1] == '\r', "lone LF");
  }
  Verificar(bytes.empty() || bytes.ends_with("\r\n"), "last line without CR LF");
  // The text before the first NUL, without line breaks, is all there is in the file.
  const std::string_view antesNul = resposta.substr(0, resposta.find('\0'));
  std::size_t semQuebras = 0;
  for (char c : antesNul) semQuebras += c != '\r' && c != '\n';
  Verificar(semQuebras == 0 || !bytes.empty(), "text lost");
  return 0;
}
