#include "platform/processo.h"

#include "platform/win32/utf16.h"

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
    wchar_t* texto = nullptr;
    FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, GetLastError(), 0, reinterpret_cast<wchar_t*>(&texto), 0, nullptr);
    std::string r = texto ? DeUtf16(texto) : std::string("CreateProcess failed");
    if (texto) LocalFree(texto);
    while (!r.empty() && (r.back() == '\n' || r.back() == '\r' || r.back() == '.')) r.pop_back();
    return r;
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return {};
}

}  // namespace tolvane
