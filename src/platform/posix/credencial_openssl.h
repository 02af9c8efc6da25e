#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/posix/cliente_openssl.h"

namespace tolvane {

// OpenSSL objects in RAII, shared by the store and the HTTP request of the Linux build.
struct LiberaX509 {
  void operator()(X509* A) const { OpenSsl().X509_free(A); }
};
struct LiberaChave {
  void operator()(EVP_PKEY* A) const { OpenSsl().EVP_PKEY_free(A); }
};
struct LiberaCadeia {
  void operator()(STACK_OF(X509) * A) const { OpenSsl().LiberarPilha(A, OpenSsl().X509_free); }
};
using X509Ptr = std::unique_ptr<X509, LiberaX509>;
using ChavePtr = std::unique_ptr<EVP_PKEY, LiberaChave>;
using CadeiaPtr = std::unique_ptr<STACK_OF(X509), LiberaCadeia>;

// A client certificate of the personal store with its private key and the further
// certificates of its file (the chain sent to the server).
struct CredencialCliente {
  X509Ptr Certificado;
  ChavePtr Chave;
  CadeiaPtr Cadeia;
};

// The certificate's name by the rules of CryptoAPI's simple display name (platform/certificados.h),
// in UTF-8; "" when the certificate names nothing.
std::string NomeSimples(const X509* ACertificado);

// The certificate of the personal store that has a private key, matches ATextoAssunto by
// CertificadoCorresponde and is chosen among those by EscolherCertificado
// (platform/seletor_certificado.h), in the store's order. No value when none matches. Raises the
// store's "EOSError" when its folder cannot be read, and Erro("EOleException", ...) naming the file
// and "chmod 600" when the chosen certificate's file (which holds its key) can be read by the group
// or by others: such a key is never presented.
std::optional<CredencialCliente> CredencialPorAssunto(const std::string& ATextoAssunto);

}  // namespace tolvane
