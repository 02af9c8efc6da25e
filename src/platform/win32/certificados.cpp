#include "platform/certificados.h"

#include <iterator>
#include <memory>

#include "platform/erro_sistema.h"
#include "platform/win32/utf16.h"

// After windows.h, which utf16.h includes.
#include <wincrypt.h>

namespace tolvane {

namespace {

struct FechaRepositorio {
  void operator()(HCERTSTORE A) const { CertCloseStore(A, 0); }
};
using RepositorioPtr = std::unique_ptr<void, FechaRepositorio>;

}  // namespace

std::vector<std::string> NomesCertificadosPessoais() {
  const RepositorioPtr repositorio(CertOpenSystemStoreA(0, "MY"));
  if (!repositorio) throw ErroSistemaOperacional(static_cast<int>(GetLastError()));
  std::vector<std::string> nomes;
  // The enumeration frees the context it was given and returns the next one; the last call
  // returns null and frees the last.
  for (PCCERT_CONTEXT c = CertEnumCertificatesInStore(repositorio.get(), nullptr); c;
       c = CertEnumCertificatesInStore(repositorio.get(), c)) {
    wchar_t nome[513] = {};
    const DWORD n =
        CertGetNameStringW(c, CERT_NAME_SIMPLE_DISPLAY_TYPE, 0, nullptr, nome, std::size(nome));
    nomes.push_back(DeUtf16(std::wstring_view(nome, n > 0 ? n - 1 : 0)));
  }
  return nomes;
}

}  // namespace tolvane
