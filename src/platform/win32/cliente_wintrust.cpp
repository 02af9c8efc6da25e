#include "platform/win32/cliente_wintrust.h"

#include "core/erro.h"
#include "platform/win32/biblioteca_sistema.h"

namespace tolvane {

namespace {

struct WintrustCarregado {
  BibliotecaSistema Biblioteca;
  ClienteWintrust Funcoes;
};

WintrustCarregado CarregarWintrust() {
  WintrustCarregado r{BibliotecaSistema("wintrust.dll", ErroSistemaComMensagem), {}};
  const BibliotecaSistema& b = r.Biblioteca;
  ClienteWintrust& c = r.Funcoes;
  b.Resolver("WinVerifyTrust", c.WinVerifyTrust);
  b.Resolver("WTHelperProvDataFromStateData", c.WTHelperProvDataFromStateData);
  b.Resolver("WTHelperGetProvSignerFromChain", c.WTHelperGetProvSignerFromChain);
  return r;
}

}  // namespace

const ClienteWintrust& CarregarClienteWintrust() {
  // A static whose initialisation throws is initialised again at the next call.
  static const WintrustCarregado carregado = CarregarWintrust();
  return carregado.Funcoes;
}

}  // namespace tolvane
