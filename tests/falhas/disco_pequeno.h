#pragma once

#include <functional>
#include <string>

namespace tolvane::teste {

// A folder on a file system that holds at most ABytes: a tmpfs of that size mounted there (the
// test runs as root, as CI does). Where no mount is allowed, or AMontar is false, the folder is a
// plain temporary one and NoDisco limits the size of every file written instead (RLIMIT_FSIZE:
// the disk's size, or what Encher left free), which fails a write as a full disk does. Como()
// says which of the two holds. Unmounted and removed at the end.
class DiscoPequeno {
 public:
  explicit DiscoPequeno(unsigned long ABytes, bool AMontar = true);
  ~DiscoPequeno();
  DiscoPequeno(const DiscoPequeno&) = delete;
  DiscoPequeno& operator=(const DiscoPequeno&) = delete;

  const std::string& Caminho() const { return FCaminho; }
  std::string operator/(const std::string& ANome) const { return FCaminho + "/" + ANome; }
  // "tmpfs" or "RLIMIT_FSIZE".
  const char* Como() const { return FMontado ? "tmpfs" : "RLIMIT_FSIZE"; }

  // Fills the disk with a file ANome until fewer than ALivres bytes are left; under the size
  // limit, no file may grow beyond ALivres from then on.
  void Encher(const std::string& ANome, unsigned long ALivres);

  // Runs AAcao in a child process under the disk's limit; "<kind>|<message>" of the Erro it
  // raised, "ok" when it raised none.
  std::string NoDisco(const std::function<void()>& AAcao) const;

 private:
  std::string FCaminho;
  unsigned long FBytes;  // under the size limit, the largest file
  bool FMontado = false;
};

}  // namespace tolvane::teste
