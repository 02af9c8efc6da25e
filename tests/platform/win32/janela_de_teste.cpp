#include "platform/janela_de_teste.h"

#include <stdexcept>

#include "platform/win32/utf16.h"

namespace tolvane::teste {

struct JanelaDeTeste::Implementacao {
  std::wstring Classe;
  HWND Janela = nullptr;
};

JanelaDeTeste::JanelaDeTeste(const std::string& AClasse, const std::string& ATitulo)
    : FImpl(std::make_unique<Implementacao>()) {
  FImpl->Classe = ParaUtf16(AClasse);
  WNDCLASSW classe{};
  classe.lpfnWndProc = DefWindowProcW;
  classe.hInstance = GetModuleHandleW(nullptr);
  classe.lpszClassName = FImpl->Classe.c_str();
  if (!RegisterClassW(&classe)) throw std::runtime_error("RegisterClassW failed");
  // Created without WS_VISIBLE and never shown.
  FImpl->Janela =
      CreateWindowExW(0, FImpl->Classe.c_str(), ParaUtf16(ATitulo).c_str(), WS_OVERLAPPEDWINDOW, 0,
                      0, 10, 10, nullptr, nullptr, classe.hInstance, nullptr);
  if (!FImpl->Janela) throw std::runtime_error("CreateWindowExW failed");
}

JanelaDeTeste::~JanelaDeTeste() {
  DestroyWindow(FImpl->Janela);
  UnregisterClassW(FImpl->Classe.c_str(), GetModuleHandleW(nullptr));
}

}  // namespace tolvane::teste
