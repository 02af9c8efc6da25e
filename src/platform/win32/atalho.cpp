#include "platform/atalho.h"

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include <memory>

#include "core/erro.h"
#include "platform/win32/utf16.h"

namespace tolvane {

namespace {

struct LiberarCom {
  void operator()(IUnknown* AObjeto) const { AObjeto->Release(); }
};
template <typename T>
using PonteiroCom = std::unique_ptr<T, LiberarCom>;

std::string TextoDoSistema(HRESULT ACodigo) {
  wchar_t* texto = nullptr;
  FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(ACodigo), 0, reinterpret_cast<wchar_t*>(&texto), 0, nullptr);
  std::string r = texto ? DeUtf16(texto) : std::string();
  if (texto) LocalFree(texto);
  while (!r.empty() && (r.back() == '\n' || r.back() == '\r' || r.back() == ' ')) r.pop_back();
  return r;
}

}  // namespace

std::string_view ExtensaoAtalho() { return ".lnk"; }

bool GravarAtalho(const std::string& AArquivo, const std::string& ADestino,
                  const std::string& ADescricao) {
  IShellLinkW* bruto = nullptr;
  const HRESULT hr =
      CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                       IID_IShellLinkW, reinterpret_cast<void**>(&bruto));
  if (FAILED(hr) || !bruto)
    throw Erro("EOleSysError",
               TextoDoSistema(hr) + ", ClassID: {00021401-0000-0000-C000-000000000046}");
  const PonteiroCom<IShellLinkW> link(bruto);

  IPersistFile* arquivoBruto = nullptr;
  if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&arquivoBruto))) ||
      !arquivoBruto)
    throw Erro("EIntfCastError", "Interface not supported");
  const PonteiroCom<IPersistFile> arquivo(arquivoBruto);

  link->SetDescription(ParaUtf16(ADescricao).c_str());
  link->SetPath(ParaUtf16(ADestino).c_str());
  return SUCCEEDED(arquivo->Save(ParaUtf16(AArquivo).c_str(), FALSE));
}

}  // namespace tolvane
