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

std::vector<std::string> LerValoresPerfil(const std::string& AArquivo, const std::string& ASecao,
                                          const std::vector<std::string>& AChaves) {
  // The system's function reads the file at each call, as the ERP's programs do.
  std::vector<std::string> valores;
  valores.reserve(AChaves.size());
  for (const auto& chave : AChaves) valores.push_back(LerPerfil(AArquivo, ASecao, chave));
  return valores;
}

}  // namespace tolvane
