#include "platform/biblioteca.h"

#include <optional>
#include <vector>

#include "platform/cabecalho_pe.h"
#include "platform/win32/handle_unico.h"
#include "platform/win32/utf16.h"

namespace tolvane {

namespace {

// SetDefaultDllDirectories and the LOAD_LIBRARY_SEARCH_* flags came with Windows 8, and to
// Windows 7 with an update (KB2533623) that not every workstation has: the function is looked up.
using DefinirPastasPadrao = BOOL(WINAPI*)(DWORD);

DefinirPastasPadrao PastasPadrao() noexcept {
  static const auto f = reinterpret_cast<DefinirPastasPadrao>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
  return f;
}

std::wstring PastaSistema() {
  std::wstring pasta(MAX_PATH, L'\0');
  const UINT n = GetSystemDirectoryW(pasta.data(), static_cast<UINT>(pasta.size()));
  pasta.resize(n < pasta.size() ? n : 0);
  return pasta;
}

std::wstring PastaPrograma() {
  std::wstring caminho(32768, L'\0');
  const DWORD n = GetModuleFileNameW(nullptr, caminho.data(), static_cast<DWORD>(caminho.size()));
  caminho.resize(n < caminho.size() ? n : 0);
  const auto barra = caminho.find_last_of(L"\\/");
  return barra == std::wstring::npos ? std::wstring() : caminho.substr(0, barra);
}

std::vector<std::wstring> Pastas(OrigemBiblioteca AOrigem) {
  std::vector<std::wstring> pastas;
  if (AOrigem == OrigemBiblioteca::ProgramaOuSistema) pastas.push_back(PastaPrograma());
  pastas.push_back(PastaSistema());
  return pastas;
}

// The file's first kTamanhoInicioPe bytes (fewer when it is shorter); no value when it cannot be
// read.
std::optional<std::string> InicioArquivo(const std::wstring& ACaminho) {
  const HANDLE h = CreateFileW(ACaminho.c_str(), GENERIC_READ,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return std::nullopt;
  const HandleKernelUnico arquivo(h);
  std::string inicio(kTamanhoInicioPe, '\0');
  std::size_t lidos = 0;
  while (lidos < inicio.size()) {
    DWORD n = 0;
    if (!ReadFile(h, inicio.data() + lidos, static_cast<DWORD>(inicio.size() - lidos), &n, nullptr))
      return std::nullopt;
    if (n == 0) break;
    lidos += n;
  }
  inicio.resize(lidos);
  return inicio;
}

}  // namespace

void RestringirBuscaBibliotecas() noexcept {
  if (const auto definir = PastasPadrao())
    definir(LOAD_LIBRARY_SEARCH_SYSTEM32);
  else
    SetDllDirectoryW(L"");
}

Biblioteca::Biblioteca(const std::string& ANome, OrigemBiblioteca AOrigem) {
  // By full path, folder by folder: a bare name would follow the search order that includes the
  // current directory and PATH. The library's own dependencies come from its folder first (a
  // database client keeps its runtime beside it), then from the system folder.
  const DWORD modo = PastasPadrao()
                         ? LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32
                         : LOAD_WITH_ALTERED_SEARCH_PATH;
  DWORD primeiroErro = ERROR_MOD_NOT_FOUND;
  std::vector<std::wstring> recusados;
  for (const auto& pasta : Pastas(AOrigem)) {
    if (pasta.empty()) continue;
    const std::wstring caminho = pasta + L"\\" + ParaUtf16(ANome);
    if (GetFileAttributesW(caminho.c_str()) == INVALID_FILE_ATTRIBUTES) continue;
    FHandle = LoadLibraryExW(caminho.c_str(), nullptr, modo);
    if (FHandle) return;
    if (recusados.empty()) primeiroErro = GetLastError();
    recusados.push_back(caminho);
  }
  FErro = "LoadLibrary error " + std::to_string(primeiroErro);
  // Why a file that is there did not load is read from its headers: the error code cannot say.
  // For a library of the other architecture Windows gives ERROR_BAD_EXE_FORMAT, but Wine may give
  // ERROR_MOD_NOT_FOUND, which a missing dependency gives too.
  for (const auto& caminho : recusados) {
    const auto inicio = InicioArquivo(caminho);
    if (!inicio) continue;
    FArquivoInutilizavel =
        DescreverBibliotecaInutilizavel(DeUtf16(caminho), *inicio, ArquiteturaDoPrograma());
    if (!FArquivoInutilizavel.empty()) break;
  }
}

Biblioteca::~Biblioteca() {
  if (FHandle) FreeLibrary(static_cast<HMODULE>(FHandle));
}

Biblioteca::FuncaoGenerica Biblioteca::Simbolo(const char* ANome) const noexcept {
  if (!FHandle) return nullptr;
  return reinterpret_cast<FuncaoGenerica>(GetProcAddress(static_cast<HMODULE>(FHandle), ANome));
}

}  // namespace tolvane
