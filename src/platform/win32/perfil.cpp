#include "platform/perfil.h"

#include "platform/win32/utf16.h"

namespace tolvane {

std::string LerPerfil(const std::string& AArquivo, const std::string& ASecao,
                      const std::string& AChave) {
  wchar_t buf[2048];
  const DWORD n = GetPrivateProfileStringW(ParaUtf16(ASecao).c_str(), ParaUtf16(AChave).c_str(),
                                           L"", buf, 2048, ParaUtf16(AArquivo).c_str());
  return DeUtf16(std::wstring_view(buf, n));
}

}  // namespace tolvane
