#include "platform/atalho.h"

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include <memory>

#include "core/erro.h"
#include "platform/erro_sistema.h"
#include "platform/win32/handle_unico.h"
#include "platform/win32/utf16.h"

namespace tolvane {

std::string_view ExtensaoAtalho() { return ".lnk"; }

bool GravarAtalho(const std::string& AArquivo, const std::string& ADestino,
                  const std::string& ADescricao) {
  IShellLinkW* bruto = nullptr;
  const HRESULT hr =
      CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                       IID_IShellLinkW, reinterpret_cast<void**>(&bruto));
  if (FAILED(hr) || !bruto)
    throw ErroOleSistema(TextoErroSistema(static_cast<int>(hr)) +
                         ", ClassID: {00021401-0000-0000-C000-000000000046}");
  const ComUnico<IShellLinkW> link(bruto);

  IPersistFile* arquivoBruto = nullptr;
  if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&arquivoBruto))) ||
      !arquivoBruto)
    throw ErroInterfaceNaoSuportada();
  const ComUnico<IPersistFile> arquivo(arquivoBruto);

  link->SetDescription(ParaUtf16(ADescricao).c_str());
  link->SetPath(ParaUtf16(ADestino).c_str());
  return SUCCEEDED(arquivo->Save(ParaUtf16(AArquivo).c_str(), FALSE));
}

}  // namespace tolvane
