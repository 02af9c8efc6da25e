#include "platform/processo.h"

#include <memory>

#include "platform/erro_sistema.h"
#include "platform/win32/utf16.h"

// After windows.h, which utf16.h includes.
#include <shellapi.h>

namespace tolvane {

std::string IniciarPrograma(const std::string& APrograma,
                            const std::vector<std::string>& AArgumentos) {
  const std::wstring programa = ParaUtf16(APrograma);
  // The shell would open a folder in the file manager: a folder is no program.
  const DWORD atributos = GetFileAttributesW(programa.c_str());
  if (atributos != INVALID_FILE_ATTRIBUTES && (atributos & FILE_ATTRIBUTE_DIRECTORY))
    return TextoErroSistema(ERROR_ACCESS_DENIED);
  std::wstring parametros;
  for (std::size_t i = 0; i < AArgumentos.size(); ++i) {
    if (i > 0) parametros += L' ';
    parametros += ParaUtf16(AArgumentos[i]);
  }
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  // No message box of the shell's own: the caller reports the failure. NOASYNC because the
  // program that hands over ends its process right after the call.
  info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  info.lpVerb = L"open";
  info.lpFile = programa.c_str();
  info.lpParameters = parametros.empty() ? nullptr : parametros.c_str();
  info.lpDirectory = nullptr;
  info.nShow = SW_SHOWNORMAL;
  if (ShellExecuteExW(&info)) return {};
  const DWORD codigo = GetLastError();
  const std::string r = TextoErroSistema(static_cast<int>(codigo));
  return r.empty() ? "ShellExecuteEx failed, code " + std::to_string(codigo) : r;
}

std::vector<std::string> ArgumentosDoPrograma(int, char**) {
  int n = 0;
  wchar_t** lista = CommandLineToArgvW(GetCommandLineW(), &n);
  const std::unique_ptr<wchar_t*, decltype(&LocalFree)> guarda(lista, LocalFree);
  std::vector<std::string> r;
  for (int i = 1; lista && i < n; ++i) r.push_back(DeUtf16(lista[i]));
  return r;
}

void DefinirVariavelAmbiente(const std::string& ANome, const std::string& AValor) {
  SetEnvironmentVariableW(ParaUtf16(ANome).c_str(), ParaUtf16(AValor).c_str());
}

std::optional<std::string> LerVariavelAmbiente(const std::string& ANome) {
  const std::wstring nome = ParaUtf16(ANome);
  const DWORD tamanho = GetEnvironmentVariableW(nome.c_str(), nullptr, 0);
  if (tamanho == 0) return std::nullopt;
  std::wstring valor(tamanho, L'\0');
  // An empty value reads as 0 characters without touching the last error: only a fresh
  // ERROR_ENVVAR_NOT_FOUND means the variable went away meanwhile.
  SetLastError(ERROR_SUCCESS);
  const DWORD lidos = GetEnvironmentVariableW(nome.c_str(), valor.data(), tamanho);
  if (lidos == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
  valor.resize(lidos < tamanho ? lidos : 0);
  return DeUtf16(valor);
}

}  // namespace tolvane
