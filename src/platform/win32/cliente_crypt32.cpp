#include "platform/win32/cliente_crypt32.h"

#include "core/erro.h"
#include "platform/win32/biblioteca_sistema.h"

namespace tolvane {

namespace {

struct Crypt32Carregado {
  BibliotecaSistema Biblioteca;
  ClienteCrypt32 Funcoes;
};

Crypt32Carregado CarregarCrypt32() {
  Crypt32Carregado r{BibliotecaSistema("crypt32.dll", ErroSistemaComMensagem), {}};
  const BibliotecaSistema& b = r.Biblioteca;
  ClienteCrypt32& c = r.Funcoes;
  b.Resolver("CertOpenSystemStoreA", c.CertOpenSystemStoreA);
  b.Resolver("CertOpenStore", c.CertOpenStore);
  b.Resolver("CertCloseStore", c.CertCloseStore);
  b.Resolver("CertEnumCertificatesInStore", c.CertEnumCertificatesInStore);
  b.Resolver("CertFindCertificateInStore", c.CertFindCertificateInStore);
  b.Resolver("CertGetNameStringA", c.CertGetNameStringA);
  b.Resolver("CertGetCertificateContextProperty", c.CertGetCertificateContextProperty);
  b.Resolver("CertVerifyTimeValidity", c.CertVerifyTimeValidity);
  b.Resolver("CertGetEnhancedKeyUsage", c.CertGetEnhancedKeyUsage);
  b.Resolver("CertDuplicateCertificateContext", c.CertDuplicateCertificateContext);
  b.Resolver("CertFreeCertificateContext", c.CertFreeCertificateContext);
  b.Resolver("CertCreateCertificateContext", c.CertCreateCertificateContext);
  b.Resolver("CertComparePublicKeyInfo", c.CertComparePublicKeyInfo);
  b.Resolver("CertGetNameStringW", c.CertGetNameStringW);
  return r;
}

}  // namespace

const ClienteCrypt32& CarregarClienteCrypt32() {
  // A static whose initialisation throws is initialised again at the next call.
  static const Crypt32Carregado carregado = CarregarCrypt32();
  return carregado.Funcoes;
}

}  // namespace tolvane
