#pragma once

#include <string>
#include <vector>

#include "platform/posix/credencial_openssl.h"

namespace tolvane::teste {

// One attribute of a name: the field's short name ("CN", "O", "OU", "C", "emailAddress") and its
// value, stored as a UTF8String exactly as given (embedded NULs and over-long values included;
// "C" as a PrintableString).
struct Atributo {
  std::string Campo;
  std::string Valor;
};

struct ModeloCertificado {
  std::vector<Atributo> Assunto = {};
  std::vector<std::string> EmailsAlternativos = {};  // subject alternative names, rfc822Name
  std::vector<Atributo> DiretorioAlternativo = {};   // one directoryName among them, when given
  long Serie = 1;
};

enum class FormatoTeste { Pkcs12, PemComChave, PemSemChave, Der };

// Makes client certificates for the tests with OpenSSL, signed by a CA (the test server's, read
// from its PEM files, or one of its own), all with one EC key.
class GeradorCertificados {
 public:
  GeradorCertificados();
  GeradorCertificados(const std::string& ACaPem, const std::string& ACaChave);

  // Writes the certificate of AModelo to ACaminho in AFormato (PKCS#12 without password); a file
  // with the key gets mode 0600.
  void Gravar(const ModeloCertificado& AModelo, FormatoTeste AFormato,
              const std::string& ACaminho) const;

 private:
  X509Ptr Emitir(const ModeloCertificado& AModelo) const;

  X509Ptr FCa;
  ChavePtr FChaveCa;
  ChavePtr FChave;
};

}  // namespace tolvane::teste
