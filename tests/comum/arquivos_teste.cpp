#include "comum/arquivos_teste.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace tolvane::teste {

namespace fs = std::filesystem;

PastaTemporaria::PastaTemporaria() {
  std::string modelo = (fs::temp_directory_path() / "tolvane-XXXXXX").string();
  if (!mkdtemp(modelo.data()))
    throw std::runtime_error("mkdtemp failed for " + modelo + ": " + std::strerror(errno));
  FCaminho = modelo;
}

PastaTemporaria::~PastaTemporaria() {
  std::error_code ec;
  std::error_code ignorado;
  fs::permissions(FCaminho, fs::perms::owner_all, fs::perm_options::add, ignorado);
  // Each entry is opened up before the walk goes into it; links are left alone, for their
  // targets may lie outside.
  for (auto i = fs::recursive_directory_iterator(FCaminho, ec);
       !ec && i != fs::recursive_directory_iterator(); i.increment(ec))
    if (!i->is_symlink(ignorado))
      fs::permissions(i->path(), fs::perms::owner_all, fs::perm_options::add, ignorado);
  fs::remove_all(FCaminho, ec);
}

std::string PastaTemporaria::operator/(std::string_view ANome) const {
  return FCaminho + "/" + std::string(ANome);
}

void EscreverArquivo(const std::string& ACaminho, std::string_view ABytes,
                     std::optional<fs::perms> AModo) {
  const fs::path pasta = fs::path(ACaminho).parent_path();
  if (!pasta.empty()) fs::create_directories(pasta);
  std::ofstream arquivo(ACaminho, std::ios::binary | std::ios::trunc);
  arquivo.write(ABytes.data(), static_cast<std::streamsize>(ABytes.size()));
  arquivo.close();
  if (!arquivo) throw std::runtime_error("could not write " + ACaminho);
  if (AModo) fs::permissions(ACaminho, *AModo);
}

std::string LerArquivo(const std::string& ACaminho) {
  std::ifstream arquivo(ACaminho, std::ios::binary);
  if (!arquivo) throw std::runtime_error("could not read " + ACaminho);
  std::ostringstream conteudo;
  conteudo << arquivo.rdbuf();
  return conteudo.str();
}

std::vector<std::string> EntradasDaPasta(const std::string& APasta) {
  std::vector<std::string> nomes;
  for (const auto& e : fs::directory_iterator(APasta))
    nomes.push_back(e.path().filename().string());
  std::sort(nomes.begin(), nomes.end());
  return nomes;
}

void DefinirTempo(const std::string& ACaminho, time_t ASegundos, long ANanossegundos) {
  const timespec tempos[2] = {{ASegundos, ANanossegundos}, {ASegundos, ANanossegundos}};
  if (utimensat(AT_FDCWD, ACaminho.c_str(), tempos, 0) != 0)
    throw std::runtime_error("utimensat failed for " + ACaminho + ": " + std::strerror(errno));
}

void DefinirDataLocal(const std::string& ACaminho, const DataHora& AData) {
  std::tm local{};
  local.tm_year = AData.Ano - 1900;
  local.tm_mon = AData.Mes - 1;
  local.tm_mday = AData.Dia;
  local.tm_hour = AData.Hora;
  local.tm_min = AData.Minuto;
  local.tm_sec = AData.Segundo;
  local.tm_isdst = -1;
  DefinirTempo(ACaminho, std::mktime(&local));
}

}  // namespace tolvane::teste
