#pragma once

#include <functional>
#include <string>

namespace tolvane::teste {

// A folder on a file system that holds at most ABytes: a tmpfs of that size mounted there (the
// test runs as root, as CI does). Where no mount is allowed, the folder is a plain temporary one
// and NoDisco limits the size of every file written instead (RLIMIT_FSIZE), which fails a write
// as a full disk does. Como() says which of the two holds. Unmounted and removed at the end.
class DiscoPequeno {
 public:
  explicit DiscoPequeno(unsigned long ABytes);
  ~DiscoPequeno();
  DiscoPequeno(const DiscoPequeno&) = delete;
  DiscoPequeno& operator=(const DiscoPequeno&) = delete;

  const std::string& Caminho() const { return FCaminho; }
  std::string operator/(const std::string& ANome) const { return FCaminho + "/" + ANome; }
  // "tmpfs" or "RLIMIT_FSIZE".
  const char* Como() const { return FMontado ? "tmpfs" : "RLIMIT_FSIZE"; }

  // Fills the disk with a file ANome until fewer than ALivres bytes are left.
  void Encher(const std::string& ANome, unsigned long ALivres) const;

  // Runs AAcao in a child process under the disk's limit; "<kind>|<message>" of the Erro it
  // raised, "ok" when it raised none.
  std::string NoDisco(const std::function<void()>& AAcao) const;

 private:
  std::string FCaminho;
  unsigned long FBytes;
  bool FMontado = false;
};

}  // namespace tolvane::teste
