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
  bool Expirado = false;  // valid in January 2020 only; else from an hour ago for 30 days
  // The purposes of an Extended Key Usage extension ("clientAuth", "serverAuth", OpenSSL's short
  // names); none: no such extension.
  std::vector<std::string> UsosEstendidos = {};
};

enum class FormatoTeste {
  Pkcs12,
  PemComChave,
  PemSemChave,
  Der,
  PemCadeia,               // the CA's certificate first, then the certificate and its key
  Pkcs12Legado,            // certificates under RC2-40, the key under 3DES (OpenSSL 1.x's defaults)
  Pkcs12ComCa,             // the CA's certificate before the certificate; localKeyIDs as usual
  Pkcs12ComCaSemId,        // the same without any localKeyID
  Pkcs12ComSenha,          // password "segredo"
  Pkcs12ComSenhaSemCifra,  // password "segredo", the certificates not encrypted
};

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
  void GravarPkcs12(X509* ACertificado, FormatoTeste AFormato, BIO* ADestino) const;

  X509Ptr FCa;
  ChavePtr FChaveCa;
  ChavePtr FChave;
};

}  // namespace tolvane::teste
