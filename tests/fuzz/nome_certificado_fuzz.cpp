// The simple display name of any DER certificate that OpenSSL accepts: no crash, no leak, and
// the name is UTF-8 (the certificate list converts it to the ANSI character set from there).
#include <openssl/x509.h>

#include <cstdint>
#include <string>

#include "core/utf8.h"
#include "platform/posix/credencial_openssl.h"
#include "verificar.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* AData, std::size_t ATamanho) {
  const unsigned char* p = AData;
  tolvane::X509Ptr certificado(d2i_X509(nullptr, &p, static_cast<long>(ATamanho)));
  if (!certificado) return 0;
  const std::string nome = tolvane::NomeSimples(certificado.get());
  tolvane::fuzz::Verificar(tolvane::EhUtf8Valido(nome), "name is not UTF-8");
  return 0;
}
