#pragma once

#include <functional>
#include <optional>
#include <string>

namespace tolvane {

// Who publishes this program, as its signature says: on Windows the signer of its Authenticode
// signature, known by the certificate's public key (a renewed certificate with a new key is
// another publisher); on Linux the Ed25519 release key built into it. An update is installed only
// when the running program has a publisher and the new files are signed by that same publisher;
// a program without one (unsigned, built without a key) checks nothing and updates as it always
// did.
class Publicador {
 public:
  // The running program's publisher. None when the executable carries no valid signature (Windows:
  // WinVerifyTrust, no user interface, no revocation look-up over the network) or the build has no
  // release key (Linux, CMake option TOLVANE_CHAVE_PUBLICACAO). Throws Erro "EOSError" when the
  // system cannot say (wintrust.dll or OpenSSL missing, the built-in key unreadable).
  static std::optional<Publicador> DoProgramaAtual();

  // A publisher known by an Ed25519 public key in PEM form (Linux; the built-in key goes through
  // here). Throws Erro "EOSError" when the text holds no Ed25519 key or OpenSSL is missing.
  static Publicador DeChavePem(const std::string& APem);

  // The publisher's name for the messages: the certificate's subject (Windows); "a chave de
  // publicação deste programa" (Linux).
  const std::string& Nome() const { return FNome; }

  // Empty when AArquivo carries a valid signature of this publisher; else the reason, one
  // Portuguese sentence (no signature, signed by someone else, changed after signing). AOrigem is
  // the file as it lies in the update folder: AArquivo itself or the copy of it that is checked.
  // The sentence names AOrigem, and on the systems that use a detached signature (Linux: Ed25519
  // over the whole file, the raw 64 bytes) that signature is CaminhoAssinatura(AOrigem); Windows
  // reads the signature inside AArquivo. Throws Erro "EOSError" only when the system cannot check
  // at all.
  std::string Verificar(const std::string& AArquivo, const std::string& AOrigem) const;

 private:
  Publicador(std::string ANome, std::string AChave)
      : FNome(std::move(ANome)), FChave(std::move(AChave)) {}

  std::string FNome;
  // Windows: the signer's certificate (DER), whose public key is compared; Linux: the key in PEM
  // form.
  std::string FChave;
};

// Where the programs look for a publisher: the running program's unless a test gives its own.
using FontePublicador = std::function<std::optional<Publicador>()>;

// The detached signature of a file in the update folder: its path + ".sig" ("tolvaneGestor.sig").
inline std::string CaminhoAssinatura(const std::string& AArquivo) { return AArquivo + ".sig"; }

}  // namespace tolvane
