#include "platform/win32/cliente_winhttp.h"

#include <memory>
#include <string>

#include "core/erro.h"
#include "platform/biblioteca.h"

namespace tolvane {

namespace {

constexpr char kBibliotecaWinHttp[] = "winhttp.dll";

template <class F>
void Resolver(const Biblioteca& ABiblioteca, const char* ANome, F& AFuncao) {
  AFuncao = ABiblioteca.Funcao<F>(ANome);
  if (!AFuncao)
    throw ErroOle(std::string("A biblioteca do sistema ") + kBibliotecaWinHttp +
                  " não tem a função " + ANome);
}

struct WinHttpCarregado {
  std::unique_ptr<Biblioteca> WinHttp;
  ClienteWinHttp Funcoes;
};

WinHttpCarregado CarregarWinHttp() {
  WinHttpCarregado r;
  r.WinHttp = std::make_unique<Biblioteca>(kBibliotecaWinHttp, OrigemBiblioteca::Sistema);
  if (!r.WinHttp->Carregada())
    throw ErroOle(std::string("Não foi possível carregar a biblioteca do sistema ") +
                  kBibliotecaWinHttp + " (" + r.WinHttp->ErroCarga() + ")");
  const Biblioteca& b = *r.WinHttp;
  ClienteWinHttp& c = r.Funcoes;
  Resolver(b, "WinHttpOpen", c.WinHttpOpen);
  Resolver(b, "WinHttpConnect", c.WinHttpConnect);
  Resolver(b, "WinHttpOpenRequest", c.WinHttpOpenRequest);
  Resolver(b, "WinHttpSetTimeouts", c.WinHttpSetTimeouts);
  Resolver(b, "WinHttpSetOption", c.WinHttpSetOption);
  Resolver(b, "WinHttpAddRequestHeaders", c.WinHttpAddRequestHeaders);
  Resolver(b, "WinHttpSendRequest", c.WinHttpSendRequest);
  Resolver(b, "WinHttpReceiveResponse", c.WinHttpReceiveResponse);
  Resolver(b, "WinHttpQueryHeaders", c.WinHttpQueryHeaders);
  Resolver(b, "WinHttpReadData", c.WinHttpReadData);
  Resolver(b, "WinHttpCrackUrl", c.WinHttpCrackUrl);
  Resolver(b, "WinHttpCloseHandle", c.WinHttpCloseHandle);
  return r;
}

}  // namespace

const ClienteWinHttp& CarregarClienteWinHttp() {
  // A static whose initialisation throws is initialised again at the next call.
  static const WinHttpCarregado carregado = CarregarWinHttp();
  return carregado.Funcoes;
}

}  // namespace tolvane
