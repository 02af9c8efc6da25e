/* A DLL planted where a program might look for a system library: when it is loaded, it appends
 * its own path to the file named by TOLVANE_PLANTADA_REGISTRO, so that a test sees whether any
 * program loaded it. Copied under the names of the libraries it stands in for. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE AInstancia, DWORD AMotivo, LPVOID AReservado) {
  (void)AReservado;
  if (AMotivo != DLL_PROCESS_ATTACH) return TRUE;
  WCHAR registro[MAX_PATH];
  WCHAR caminho[MAX_PATH];
  const DWORD n = GetEnvironmentVariableW(L"TOLVANE_PLANTADA_REGISTRO", registro, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return TRUE;
  const DWORD m = GetModuleFileNameW(AInstancia, caminho, MAX_PATH);
  const HANDLE arquivo = CreateFileW(registro, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     NULL, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
  if (arquivo == INVALID_HANDLE_VALUE) return TRUE;
  DWORD escritos = 0;
  WriteFile(arquivo, caminho, m * sizeof(WCHAR), &escritos, NULL);
  WriteFile(arquivo, L"\n", sizeof(WCHAR), &escritos, NULL);
  CloseHandle(arquivo);
  return TRUE;
}
