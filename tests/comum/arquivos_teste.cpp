#include "comum/arquivos_teste.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#include "core/caminho.h"

namespace tolvane::teste {

namespace fs = std::filesystem;

#ifdef _WIN32

// On Windows the folder's name holds a blank and non-ASCII letters, so that every suite that
// takes a path also passes one that needs UTF-16 at the API's edge. Under TOLVANE_TESTE_TEMP (a
// rooted path without a drive, which Wine resolves on the Unix root's drive) a Linux program
// started by the test, or a Linux library loaded by it, reads the same path: the names are then
// joined with "/", which both sides take.
PastaTemporaria::PastaTemporaria() {
  const char* raiz = std::getenv("TOLVANE_TESTE_TEMP");
  const std::string base = raiz ? raiz : TextoDe(fs::temp_directory_path());
  FSeparador = raiz ? "/" : "\\";
  std::random_device aleatorio;
  for (int tentativa = 0; tentativa < 100; ++tentativa) {
    std::string nome = base;
    if (!nome.empty() && nome.back() != '/' && nome.back() != '\\') nome += FSeparador;
    nome += "tolvane teste çã-" + std::to_string(aleatorio() % 1000000);
    std::error_code ec;
    if (fs::create_directory(CaminhoDe(nome), ec)) {
      FCaminho = nome;
      return;
    }
  }
  throw std::runtime_error("could not make a temporary folder under " + base);
}

void DefinirTempo(const std::string& ACaminho, time_t ASegundos, long ANanossegundos) {
  // FILETIME counts 100 ns since 1601-01-01.
  const auto intervalos =
      (static_cast<unsigned long long>(ASegundos) + 11644473600ULL) * 10000000ULL +
      static_cast<unsigned long long>(ANanossegundos) / 100;
  const FILETIME tempo{static_cast<DWORD>(intervalos), static_cast<DWORD>(intervalos >> 32)};
  const std::u16string nome = CaminhoDe(ACaminho).u16string();
  const HANDLE h = CreateFileW(reinterpret_cast<const wchar_t*>(nome.c_str()),
                               FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  const bool definido = h != INVALID_HANDLE_VALUE && SetFileTime(h, nullptr, &tempo, &tempo);
  const DWORD erro = GetLastError();
  if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  if (!definido)
    throw std::runtime_error("SetFileTime failed for " + ACaminho + ": " + std::to_string(erro));
}

#else

PastaTemporaria::PastaTemporaria() {
  std::string modelo = (fs::temp_directory_path() / "tolvane-XXXXXX").string();
  if (!mkdtemp(modelo.data()))
    throw std::runtime_error("mkdtemp failed for " + modelo + ": " + std::strerror(errno));
  FCaminho = modelo;
}

void DefinirTempo(const std::string& ACaminho, time_t ASegundos, long ANanossegundos) {
  const timespec tempos[2] = {{ASegundos, ANanossegundos}, {ASegundos, ANanossegundos}};
  if (utimensat(AT_FDCWD, ACaminho.c_str(), tempos, 0) != 0)
    throw std::runtime_error("utimensat failed for " + ACaminho + ": " + std::strerror(errno));
}

#endif

PastaTemporaria::~PastaTemporaria() {
  const fs::path raiz = CaminhoDe(FCaminho);
  std::error_code ec;
  std::error_code ignorado;
  fs::permissions(raiz, fs::perms::owner_all, fs::perm_options::add, ignorado);
  // Each entry is opened up before the walk goes into it; links are left alone, for their
  // targets may lie outside.
  for (auto i = fs::recursive_directory_iterator(raiz, ec);
       !ec && i != fs::recursive_directory_iterator(); i.increment(ec))
    if (!i->is_symlink(ignorado))
      fs::permissions(i->path(), fs::perms::owner_all, fs::perm_options::add, ignorado);
  fs::remove_all(raiz, ec);
}

std::string PastaTemporaria::operator/(std::string_view ANome) const {
  return FCaminho + FSeparador + std::string(ANome);
}

void EscreverArquivo(const std::string& ACaminho, std::string_view ABytes,
                     std::optional<fs::perms> AModo) {
  const fs::path caminho = CaminhoDe(ACaminho);
  const fs::path pasta = caminho.parent_path();
  if (!pasta.empty()) fs::create_directories(pasta);
  std::ofstream arquivo(caminho, std::ios::binary | std::ios::trunc);
  arquivo.write(ABytes.data(), static_cast<std::streamsize>(ABytes.size()));
  arquivo.close();
  if (!arquivo) throw std::runtime_error("could not write " + ACaminho);
  if (AModo) fs::permissions(caminho, *AModo);
}

std::string LerArquivo(const std::string& ACaminho) {
  std::ifstream arquivo(CaminhoDe(ACaminho), std::ios::binary);
  if (!arquivo) throw std::runtime_error("could not read " + ACaminho);
  std::ostringstream conteudo;
  conteudo << arquivo.rdbuf();
  return conteudo.str();
}

std::vector<std::string> EntradasDaPasta(const std::string& APasta) {
  std::vector<std::string> nomes;
  for (const auto& e : fs::directory_iterator(CaminhoDe(APasta)))
    nomes.push_back(TextoDe(e.path().filename()));
  std::sort(nomes.begin(), nomes.end());
  return nomes;
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
