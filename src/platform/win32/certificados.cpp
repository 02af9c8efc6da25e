#include "platform/certificados.h"

#include <cstring>
#include <iterator>

#include "platform/codificacao.h"
#include "platform/erro_sistema.h"
#include "platform/win32/cliente_crypt32.h"

namespace tolvane {

std::vector<std::string> NomesCertificadosPessoais() {
  const ClienteCrypt32& crypt32 = CarregarClienteCrypt32();
  const RepositorioPtr repositorio(crypt32.CertOpenSystemStoreA(0, "MY"));
  if (!repositorio) throw ErroSistemaOperacional(static_cast<int>(GetLastError()));
  std::vector<std::string> nomes;
  // The enumeration frees the context it was given and returns the next one; the last call
  // returns null and frees the last.
  for (PCCERT_CONTEXT c = crypt32.CertEnumCertificatesInStore(repositorio.get(), nullptr); c;
       c = crypt32.CertEnumCertificatesInStore(repositorio.get(), c)) {
    // The name in the ANSI code page, as the combo box has always shown it: a character the
    // code page lacks reads as the system's replacement.
    char nome[513] = {};
    const DWORD n = crypt32.CertGetNameStringA(c, CERT_NAME_SIMPLE_DISPLAY_TYPE, 0, nullptr, nome,
                                               std::size(nome));
    if (n != 0) nomes.push_back(DeAnsi(std::string_view(nome, strnlen(nome, std::size(nome)))));
  }
  return nomes;
}

}  // namespace tolvane
