#include "platform/win32/cliente_crypt32.h"

#include <string>

#include "core/erro.h"
#include "platform/biblioteca.h"

namespace tolvane {

namespace {

constexpr char kBibliotecaCrypt32[] = "crypt32.dll";

template <class F>
void Resolver(const Biblioteca& ABiblioteca, const char* ANome, F& AFuncao) {
  AFuncao = ABiblioteca.Funcao<F>(ANome);
  if (!AFuncao)
    throw ErroSistemaComMensagem(std::string("A biblioteca do sistema ") + kBibliotecaCrypt32 +
                                 " não tem a função " + ANome);
}

struct Crypt32Carregado {
  std::unique_ptr<Biblioteca> Crypt32;
  ClienteCrypt32 Funcoes;
};

Crypt32Carregado CarregarCrypt32() {
  Crypt32Carregado r;
  r.Crypt32 = std::make_unique<Biblioteca>(kBibliotecaCrypt32, OrigemBiblioteca::Sistema);
  if (!r.Crypt32->Carregada())
    throw ErroSistemaComMensagem(std::string("Não foi possível carregar a biblioteca do sistema ") +
                                 kBibliotecaCrypt32 + " (" + r.Crypt32->ErroCarga() + ")");
  const Biblioteca& b = *r.Crypt32;
  ClienteCrypt32& c = r.Funcoes;
  Resolver(b, "CertOpenSystemStoreA", c.CertOpenSystemStoreA);
  Resolver(b, "CertOpenStore", c.CertOpenStore);
  Resolver(b, "CertCloseStore", c.CertCloseStore);
  Resolver(b, "CertEnumCertificatesInStore", c.CertEnumCertificatesInStore);
  Resolver(b, "CertFindCertificateInStore", c.CertFindCertificateInStore);
  Resolver(b, "CertGetNameStringA", c.CertGetNameStringA);
  Resolver(b, "CertGetCertificateContextProperty", c.CertGetCertificateContextProperty);
  Resolver(b, "CertVerifyTimeValidity", c.CertVerifyTimeValidity);
  Resolver(b, "CertGetEnhancedKeyUsage", c.CertGetEnhancedKeyUsage);
  Resolver(b, "CertDuplicateCertificateContext", c.CertDuplicateCertificateContext);
  Resolver(b, "CertFreeCertificateContext", c.CertFreeCertificateContext);
  return r;
}

}  // namespace

const ClienteCrypt32& CarregarClienteCrypt32() {
  // A static whose initialisation throws is initialised again at the next call.
  static const Crypt32Carregado carregado = CarregarCrypt32();
  return carregado.Funcoes;
}

}  // namespace tolvane
