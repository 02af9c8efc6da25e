#include "updater/arquivos_teste.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

namespace tolvane::teste {

PastaTemporaria::PastaTemporaria() {
  std::string modelo =
      std::filesystem::temp_directory_path().string() + "/tolvane-atualizador-XXXXXX";
  if (!::mkdtemp(modelo.data())) ADD_FAILURE() << "mkdtemp: " << std::strerror(errno);
  FCaminho = modelo;
}

PastaTemporaria::~PastaTemporaria() {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::permissions(FCaminho, fs::perms::owner_all, fs::perm_options::add, ec);
  for (auto it = fs::recursive_directory_iterator(FCaminho, ec); !ec && it != fs::end(it);
       it.increment(ec))
    if (!it->is_symlink())
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(FCaminho, ec);
}

void EscreverArquivo(const std::string& ACaminho, const std::string& AConteudo, mode_t AModo) {
  {
    std::ofstream f(ACaminho, std::ios::binary | std::ios::trunc);
    f << AConteudo;
    ASSERT_TRUE(f.good()) << "cannot write " << ACaminho;
  }
  ASSERT_EQ(::chmod(ACaminho.c_str(), AModo), 0) << ACaminho;
}

std::string LerArquivo(const std::string& ACaminho) {
  std::ifstream f(ACaminho, std::ios::binary);
  if (!f) {
    ADD_FAILURE() << "cannot read " << ACaminho;
    return {};
  }
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

std::set<std::string> Listar(const std::string& APasta) {
  std::set<std::string> r;
  for (const auto& e : std::filesystem::directory_iterator(APasta))
    r.insert(e.path().filename().string());
  return r;
}

struct stat Estado(const std::string& ACaminho) {
  struct stat st {};
  if (::lstat(ACaminho.c_str(), &st) != 0) ADD_FAILURE() << "missing: " << ACaminho;
  return st;
}

void DefinirTempo(const std::string& ACaminho, time_t ASegundos, long ANanossegundos) {
  const struct timespec t[2] = {{ASegundos, ANanossegundos}, {ASegundos, ANanossegundos}};
  ASSERT_EQ(::utimensat(AT_FDCWD, ACaminho.c_str(), t, AT_SYMLINK_NOFOLLOW), 0) << ACaminho;
}

}  // namespace tolvane::teste
