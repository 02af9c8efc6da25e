#include "classtrib/apoio.h"

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace tolvane::teste {

namespace fs = std::filesystem;

PastaTemporaria::PastaTemporaria() {
  std::string modelo = (fs::temp_directory_path() / "tolvane-classtrib-XXXXXX").string();
  if (!mkdtemp(modelo.data())) throw std::runtime_error("mkdtemp falhou");
  FCaminho = modelo;
}

PastaTemporaria::~PastaTemporaria() {
  std::error_code ec;
  // Folders a test made read-only must become writable again to be removed.
  for (auto i = fs::recursive_directory_iterator(FCaminho, ec);
       !ec && i != fs::recursive_directory_iterator(); i.increment(ec))
    if (i->is_directory(ec))
      fs::permissions(i->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(FCaminho, ec);
}

VariavelAmbiente::VariavelAmbiente(std::string ANome, const std::optional<std::string>& AValor)
    : FNome(std::move(ANome)) {
  if (const char* anterior = getenv(FNome.c_str())) FAnterior = anterior;
  if (AValor)
    setenv(FNome.c_str(), AValor->c_str(), 1);
  else
    unsetenv(FNome.c_str());
}

VariavelAmbiente::~VariavelAmbiente() {
  if (FAnterior)
    setenv(FNome.c_str(), FAnterior->c_str(), 1);
  else
    unsetenv(FNome.c_str());
}

std::string LerArquivo(const std::string& ACaminho) {
  std::ifstream entrada(ACaminho, std::ios::binary);
  if (!entrada) throw std::runtime_error("não foi possível ler " + ACaminho);
  return std::string((std::istreambuf_iterator<char>(entrada)), std::istreambuf_iterator<char>());
}

void GravarArquivo(const std::string& ACaminho, const std::string& AConteudo) {
  std::ofstream saida(ACaminho, std::ios::binary | std::ios::trunc);
  saida << AConteudo;
  if (!saida.flush()) throw std::runtime_error("não foi possível gravar " + ACaminho);
}

std::vector<std::string> EntradasDaPasta(const std::string& APasta) {
  std::vector<std::string> nomes;
  for (const auto& e : fs::directory_iterator(APasta))
    nomes.push_back(e.path().filename().string());
  std::sort(nomes.begin(), nomes.end());
  return nomes;
}

}  // namespace tolvane::teste
