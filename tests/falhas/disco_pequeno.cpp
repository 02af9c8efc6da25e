#include "falhas/disco_pequeno.h"

#include <sys/mount.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "comum/processo_filho.h"

namespace tolvane::teste {

namespace fs = std::filesystem;

DiscoPequeno::DiscoPequeno(unsigned long ABytes, bool AMontar) : FBytes(ABytes) {
  std::string modelo = (fs::temp_directory_path() / "tolvane-disco-XXXXXX").string();
  if (!mkdtemp(modelo.data())) throw std::runtime_error("mkdtemp falhou");
  FCaminho = modelo;
  const std::string opcoes = "size=" + std::to_string(ABytes) + ",mode=0755";
  FMontado = AMontar &&
             mount("tmpfs", FCaminho.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, opcoes.c_str()) == 0;
}

DiscoPequeno::~DiscoPequeno() {
  if (FMontado) umount2(FCaminho.c_str(), MNT_DETACH);
  std::error_code ec;
  fs::remove_all(FCaminho, ec);
}

void DiscoPequeno::Encher(const std::string& ANome, unsigned long ALivres) {
  if (!FMontado) {
    FBytes = ALivres;
    return;
  }
  std::ofstream arquivo(*this / ANome, std::ios::binary);
  const std::string bloco(512, 'e');
  for (;;) {
    const auto espaco = fs::space(FCaminho);
    if (espaco.available < ALivres + bloco.size()) break;
    arquivo.write(bloco.data(), static_cast<std::streamsize>(bloco.size()));
    arquivo.flush();
    if (!arquivo) break;
  }
}

std::string DiscoPequeno::NoDisco(const std::function<void()>& AAcao) const {
  return NoProcessoFilho([&] {
    if (!FMontado) LimitarTamanhoArquivos(FBytes);
    AAcao();
  });
}

}  // namespace tolvane::teste
