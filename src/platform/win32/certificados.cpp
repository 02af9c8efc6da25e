#include "platform/certificados.h"

#include <cstring>
#include <iterator>
#include <memory>

#include "platform/codificacao.h"
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
    // The name in the ANSI code page, as the combo box has always shown it: a character the
    // code page lacks reads as the system's replacement.
    char nome[513] = {};
    const DWORD n =
        CertGetNameStringA(c, CERT_NAME_SIMPLE_DISPLAY_TYPE, 0, nullptr, nome, std::size(nome));
    if (n != 0) nomes.push_back(DeAnsi(std::string_view(nome, strnlen(nome, std::size(nome)))));
  }
  return nomes;
}

}  // namespace tolvane
