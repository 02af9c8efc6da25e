#include "platform/copia_privada.h"

#include <random>

#include "core/erro.h"
#include "platform/erro_sistema.h"
#include "platform/nomes.h"
#include "platform/win32/utf16.h"

namespace tolvane {

std::string CopiarParaPastaPrivada(const std::string& AArquivo) {
  std::wstring temporaria(MAX_PATH + 1, L'\0');
  const DWORD n = GetTempPathW(static_cast<DWORD>(temporaria.size()), temporaria.data());
  if (n == 0 || n > temporaria.size())
    throw ErroSistemaComMensagem("A pasta temporária do usuário não foi encontrada: " +
                                 TextoErroSistema(static_cast<int>(GetLastError())) + ".");
  temporaria.resize(n);

  // A new folder, never one that is there already: someone else's folder of that name could hold
  // a file of his own under the copy's name.
  std::random_device aleatorio;
  std::wstring pasta;
  for (int tentativa = 0;; ++tentativa) {
    pasta = temporaria + L"tolvane-" + std::to_wstring(aleatorio());
    if (CreateDirectoryW(pasta.c_str(), nullptr)) break;
    const DWORD e = GetLastError();
    if (e != ERROR_ALREADY_EXISTS || tentativa == 9)
      throw ErroSistemaComMensagem("Não foi possível criar uma pasta em " + DeUtf16(temporaria) +
                                   ": " + TextoErroSistema(static_cast<int>(e)) + ".");
  }
  const std::string origem = AArquivo;
  const std::string nome = origem.substr(origem.find_last_of("\\/") + 1);
  const std::string copia = JuntarCaminho(DeUtf16(pasta), nome);
  if (!CopyFileW(ParaUtf16(origem).c_str(), ParaUtf16(copia).c_str(), TRUE)) {
    const DWORD e = GetLastError();
    RemoveDirectoryW(pasta.c_str());
    throw ErroSistemaComMensagem("Não foi possível copiar o arquivo " + origem + " para " +
                                 DeUtf16(pasta) + ": " + TextoErroSistema(static_cast<int>(e)) +
                                 ".");
  }
  return copia;
}

}  // namespace tolvane
