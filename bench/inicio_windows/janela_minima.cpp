// The yardstick of the Windows start-up benchmark: one window of the main window's size and
// place, its class registered and a message loop, and nothing else.

#include <windows.h>

namespace {

LRESULT CALLBACK Procedimento(HWND AJanela, UINT AMensagem, WPARAM AW, LPARAM AL) {
  if (AMensagem == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(AJanela, AMensagem, AW, AL);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE AInstancia, HINSTANCE, PWSTR, int) {
  WNDCLASSW classe{};
  classe.lpfnWndProc = Procedimento;
  classe.hInstance = AInstancia;
  classe.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  classe.lpszClassName = L"JanelaMinima";
  RegisterClassW(&classe);
  RECT r{0, 0, 540, 357};
  AdjustWindowRect(&r, WS_CAPTION | WS_SYSMENU, FALSE);
  HWND janela =
      CreateWindowExW(0, L"JanelaMinima", L"janela minima", WS_CAPTION | WS_SYSMENU, 764, 175,
                      r.right - r.left, r.bottom - r.top, nullptr, nullptr, AInstancia, nullptr);
  ShowWindow(janela, SW_SHOWNORMAL);
  MSG m;
  while (GetMessageW(&m, nullptr, 0, 0) > 0) {
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
  return 0;
}
