#include "platform/transporte_http.h"

#include "core/erro.h"

namespace tolvane {

// Not written for Windows yet (the WinHTTP C API that the request object wraps: WinHttpOpen ...
// WinHttpReadData, with the client certificate from the MY store).
RespostaHttp EnviarHttp(const PedidoHttp&) { throw ErroNaoDisponivel("EnviarHttp"); }

}  // namespace tolvane
