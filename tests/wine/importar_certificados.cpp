// Helper of the Windows suites' fixture, run under Wine in the tests' prefix:
//   importar_certificados <CA, PEM> <client certificate and key, PKCS#12 without password>...
// adds the CA to the current user's "Root" store (Wine then trusts the test server) and each
// client certificate with its key to the current user's "MY" store, where the consultation's
// selector looks. Says what failed and ends non-zero.
#include <windows.h>
// After windows.h.
#include <wincrypt.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

struct FechaRepositorio {
  void operator()(HCERTSTORE A) const { CertCloseStore(A, 0); }
};
using Repositorio = std::unique_ptr<void, FechaRepositorio>;

bool Falhou(const char* AOque) {
  std::fprintf(stderr, "importar_certificados: %s failed, error %lu\n", AOque, GetLastError());
  return true;
}

std::vector<BYTE> Ler(const wchar_t* ACaminho) {
  std::ifstream arquivo(ACaminho, std::ios::binary);
  return std::vector<BYTE>(std::istreambuf_iterator<char>(arquivo), {});
}

Repositorio DoUsuario(const wchar_t* ANome) {
  return Repositorio(
      CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, ANome));
}

bool ImportarCa(const wchar_t* APem) {
  const std::vector<BYTE> pem = Ler(APem);
  DWORD tamanho = 0;
  if (pem.empty() || !CryptStringToBinaryA(
                         reinterpret_cast<const char*>(pem.data()), static_cast<DWORD>(pem.size()),
                         CRYPT_STRING_BASE64HEADER, nullptr, &tamanho, nullptr, nullptr))
    return !Falhou("reading the CA");
  std::vector<BYTE> der(tamanho);
  CryptStringToBinaryA(reinterpret_cast<const char*>(pem.data()), static_cast<DWORD>(pem.size()),
                       CRYPT_STRING_BASE64HEADER, der.data(), &tamanho, nullptr, nullptr);
  const Repositorio raiz = DoUsuario(L"Root");
  if (!raiz) return !Falhou("opening Root");
  if (!CertAddEncodedCertificateToStore(raiz.get(), X509_ASN_ENCODING, der.data(), tamanho,
                                        CERT_STORE_ADD_REPLACE_EXISTING, nullptr))
    return !Falhou("CertAddEncodedCertificateToStore");
  return true;
}

bool ImportarCliente(const wchar_t* APkcs12) {
  std::vector<BYTE> dados = Ler(APkcs12);
  CRYPT_DATA_BLOB pacote{static_cast<DWORD>(dados.size()), dados.data()};
  const Repositorio importado(PFXImportCertStore(&pacote, L"", CRYPT_USER_KEYSET));
  if (!importado) return !Falhou("PFXImportCertStore");
  const Repositorio pessoal = DoUsuario(L"MY");
  if (!pessoal) return !Falhou("opening MY");
  int n = 0;
  for (PCCERT_CONTEXT c = CertEnumCertificatesInStore(importado.get(), nullptr); c;
       c = CertEnumCertificatesInStore(importado.get(), c), ++n)
    if (!CertAddCertificateContextToStore(pessoal.get(), c, CERT_STORE_ADD_REPLACE_EXISTING,
                                          nullptr))
      return !Falhou("CertAddCertificateContextToStore");
  if (n == 0) {
    std::fprintf(stderr, "importar_certificados: no certificate in the PKCS#12 file\n");
    return false;
  }
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: importar_certificados <ca.pem> <cliente.p12>...\n");
    return 2;
  }
  if (!ImportarCa(argv[1])) return 1;
  for (int i = 2; i < argc; ++i)
    if (!ImportarCliente(argv[i])) return 1;
  return 0;
}
