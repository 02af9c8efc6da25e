#include "platform/win32/arquivo_temporario.h"

#include <algorithm>
#include <random>

#include "platform/substituicao_arquivo.h"

namespace tolvane {

ArquivoTemporario::~ArquivoTemporario() {
  FArquivo.reset();
  if (!FCaminho.empty()) DeleteFileW(FCaminho.c_str());
}

DWORD ArquivoTemporario::Criar(const std::string& ADestino) {
  std::random_device aleatorio;
  for (int tentativa = 0;; ++tentativa) {
    std::wstring nome = ParaUtf16(NomeTemporarioAoLado(ADestino, aleatorio()));
    // CREATE_NEW: a file already at that name is never written through.
    const HANDLE h = CreateFileW(nome.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      FArquivo.reset(h);
      FCaminho = std::move(nome);
      FDestino = ParaUtf16(ADestino);
      return 0;
    }
    const DWORD e = GetLastError();
    if (e != ERROR_FILE_EXISTS || tentativa == 99) return e;
  }
}

DWORD ArquivoTemporario::Gravar(const char* ADados, std::size_t ATamanho) {
  while (ATamanho > 0) {
    DWORD escritos = 0;
    const auto bloco = static_cast<DWORD>(std::min<std::size_t>(ATamanho, 1 << 20));
    if (!WriteFile(FArquivo.get(), ADados, bloco, &escritos, nullptr)) return GetLastError();
    if (escritos == 0) return ERROR_WRITE_FAULT;
    ADados += escritos;
    ATamanho -= escritos;
  }
  return 0;
}

DWORD ArquivoTemporario::Fechar() {
  if (!FlushFileBuffers(FArquivo.get())) return GetLastError();
  if (!CloseHandle(FArquivo.release())) return GetLastError();
  return 0;
}

DWORD ArquivoTemporario::ColocarNoLugar() {
  if (!MoveFileExW(FCaminho.c_str(), FDestino.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return GetLastError();
  FCaminho.clear();
  return 0;
}

}  // namespace tolvane
