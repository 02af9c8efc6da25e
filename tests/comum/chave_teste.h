#pragma once

#include <string>
#include <string_view>

namespace tolvane::teste {

// A throw-away Ed25519 publisher for the Linux signed-update tests (OpenSSL).
class ChaveTeste {
 public:
  ChaveTeste();

  // The public key in PEM form, as TOLVANE_CHAVE_PUBLICACAO holds it.
  const std::string& PublicaPem() const { return FPublica; }

  // The detached signature of ABytes: 64 raw bytes, what `openssl pkeyutl -sign -rawin` writes.
  std::string Assinar(std::string_view ABytes) const;

  // Writes ACaminho + ".sig", the signature of the file's bytes as they are now.
  void AssinarArquivo(const std::string& ACaminho) const;

 private:
  std::string FPrivada;  // PEM
  std::string FPublica;  // PEM
};

}  // namespace tolvane::teste
