// A stand-in for a program that tolvaneGestor starts (the updater): writes its command line,
// as Windows gave it, in UTF-8 to "linha de comando.txt" beside itself, and ends.

#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  wchar_t caminho[MAX_PATH * 4] = {};
  const DWORD n = GetModuleFileNameW(nullptr, caminho, MAX_PATH * 4);
  std::wstring arquivo(caminho, n);
  arquivo = arquivo.substr(0, arquivo.find_last_of(L'\\') + 1) + L"linha de comando.txt";
  const std::wstring linha = GetCommandLineW();
  const int tamanho = WideCharToMultiByte(CP_UTF8, 0, linha.data(), static_cast<int>(linha.size()),
                                          nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(tamanho), '\0');
  WideCharToMultiByte(CP_UTF8, 0, linha.data(), static_cast<int>(linha.size()), utf8.data(),
                      tamanho, nullptr, nullptr);
  HANDLE h = CreateFileW(arquivo.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return 1;
  DWORD escritos = 0;
  const BOOL ok = WriteFile(h, utf8.data(), static_cast<DWORD>(utf8.size()), &escritos, nullptr);
  CloseHandle(h);
  return ok ? 0 : 1;
}
