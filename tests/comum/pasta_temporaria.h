#pragma once

#include <filesystem>
#include <string>

namespace tolvane::teste {

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class PastaTemporaria {
 public:
  PastaTemporaria() {
    std::string modelo = (std::filesystem::temp_directory_path() / "tolvane-XXXXXX").string();
    FCaminho = mkdtemp(modelo.data());
  }
  ~PastaTemporaria() {
    std::error_code ec;
    std::filesystem::permissions(FCaminho, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(FCaminho, ec);
  }
  PastaTemporaria(const PastaTemporaria&) = delete;
  PastaTemporaria& operator=(const PastaTemporaria&) = delete;

  const std::filesystem::path& Caminho() const { return FCaminho; }
  std::string operator/(const std::string& ANome) const { return (FCaminho / ANome).string(); }

 private:
  std::filesystem::path FCaminho;
};

}  // namespace tolvane::teste
