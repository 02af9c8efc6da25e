#include "platform/win32/cliente_winhttp.h"

#include "core/erro.h"
#include "platform/win32/biblioteca_sistema.h"

namespace tolvane {

namespace {

struct WinHttpCarregado {
  BibliotecaSistema Biblioteca;
  ClienteWinHttp Funcoes;
};

WinHttpCarregado CarregarWinHttp() {
  WinHttpCarregado r{BibliotecaSistema("winhttp.dll", ErroOle), {}};
  const BibliotecaSistema& b = r.Biblioteca;
  ClienteWinHttp& c = r.Funcoes;
  b.Resolver("WinHttpOpen", c.WinHttpOpen);
  b.Resolver("WinHttpConnect", c.WinHttpConnect);
  b.Resolver("WinHttpOpenRequest", c.WinHttpOpenRequest);
  b.Resolver("WinHttpSetTimeouts", c.WinHttpSetTimeouts);
  b.Resolver("WinHttpSetOption", c.WinHttpSetOption);
  b.Resolver("WinHttpAddRequestHeaders", c.WinHttpAddRequestHeaders);
  b.Resolver("WinHttpSendRequest", c.WinHttpSendRequest);
  b.Resolver("WinHttpReceiveResponse", c.WinHttpReceiveResponse);
  b.Resolver("WinHttpQueryHeaders", c.WinHttpQueryHeaders);
  b.Resolver("WinHttpReadData", c.WinHttpReadData);
  b.Resolver("WinHttpCrackUrl", c.WinHttpCrackUrl);
  b.Resolver("WinHttpCloseHandle", c.WinHttpCloseHandle);
  return r;
}

}  // namespace

const ClienteWinHttp& CarregarClienteWinHttp() {
  // A static whose initialisation throws is initialised again at the next call.
  static const WinHttpCarregado carregado = CarregarWinHttp();
  return carregado.Funcoes;
}

}  // namespace tolvane
