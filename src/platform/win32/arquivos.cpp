#include "platform/arquivos.h"

#include "platform/win32/utf16.h"

namespace tolvane {

std::optional<DataHora> DataModificacaoArquivo(const std::string& ACaminho) {
  WIN32_FILE_ATTRIBUTE_DATA dados{};
  if (!GetFileAttributesExW(ParaUtf16(ACaminho).c_str(), GetFileExInfoStandard, &dados) ||
      (dados.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return std::nullopt;
  FILETIME local{};
  WORD data = 0;
  WORD hora = 0;
  if (!FileTimeToLocalFileTime(&dados.ftLastWriteTime, &local) ||
      !FileTimeToDosDateTime(&local, &data, &hora))
    return std::nullopt;
  return DeDataDos((static_cast<DataDos>(data) << 16) | hora);
}

std::string CaminhoExecutavel() {
  std::wstring buf(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0) return {};
    if (n < buf.size()) {
      buf.resize(n);
      return DeUtf16(buf);
    }
    buf.resize(buf.size() * 2);
  }
}

bool MoverSemSubstituir(const std::string& AOrigem, const std::string& ADestino) {
  // Without MOVEFILE_REPLACE_EXISTING the move fails when the target exists.
  return MoveFileExW(ParaUtf16(AOrigem).c_str(), ParaUtf16(ADestino).c_str(), 0) != 0;
}

}  // namespace tolvane
