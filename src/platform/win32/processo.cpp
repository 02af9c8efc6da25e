#include "platform/processo.h"

#include <memory>

#include "platform/erro_sistema.h"
#include "platform/win32/utf16.h"

// After windows.h, which utf16.h includes.
#include <shellapi.h>

namespace tolvane {

namespace {

// One argument quoted by the rules CommandLineToArgvW reads back.
std::wstring Citado(const std::wstring& AArgumento) {
  if (!AArgumento.empty() && AArgumento.find_first_of(L" \t\n\v\"") == std::wstring::npos)
    return AArgumento;
  std::wstring r = L"\"";
  std::size_t barras = 0;
  for (wchar_t c : AArgumento) {
    if (c == L'\\') {
      ++barras;
      continue;
    }
    r.append(c == L'"' ? barras * 2 + 1 : barras, L'\\');
    barras = 0;
    r += c;
  }
  r.append(barras * 2, L'\\');
  return r + L"\"";
}

}  // namespace

std::string IniciarPrograma(const std::string& APrograma,
                            const std::vector<std::string>& AArgumentos) {
  const std::wstring programa = ParaUtf16(APrograma);
  std::wstring linha = Citado(programa);
  for (const auto& a : AArgumentos) linha += L" " + Citado(ParaUtf16(a));
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(programa.c_str(), linha.data(), nullptr, nullptr, FALSE,
                      DETACHED_PROCESS | CREATE_NEW_PROCESS_GROUP, nullptr, nullptr, &si, &pi)) {
    const std::string r = TextoErroSistema(static_cast<int>(GetLastError()));
    return r.empty() ? std::string("CreateProcess failed") : r;
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return {};
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
  const DWORD lidos = GetEnvironmentVariableW(nome.c_str(), valor.data(), tamanho);
  if (lidos == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
  valor.resize(lidos < tamanho ? lidos : 0);
  return DeUtf16(valor);
}

}  // namespace tolvane
