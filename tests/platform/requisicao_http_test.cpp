// The HTTP request object's order of calls: what each call says when it comes too early. None
// of these cases reaches a network.
#include "platform/requisicao_http.h"

#include <gtest/gtest.h>

#include <functional>

#include "comum/espera_teste.h"

namespace tolvane {
namespace {

constexpr const char* kSemOpen =
    "The operation cannot be carried out until the Open method has been called";
constexpr const char* kSemResposta =
    "The data necessary to complete this operation is not yet available";

TEST(RequisicaoHttp, CallsOutOfOrderRaiseTheObjectsErrors) {
  struct Caso {
    const char* Rotulo;
    std::function<void(RequisicaoHttp&)> Preparar;
    std::function<void(RequisicaoHttp&)> Chamar;
    const char* Mensagem;
  };
  const auto nada = [](RequisicaoHttp&) {};
  const auto abrir = [](RequisicaoHttp& r) { r.Open("https://127.0.0.1:1/classTrib"); };
  const Caso casos[] = {
      {"Send before Open", nada, [](RequisicaoHttp& r) { r.Send(); }, kSemOpen},
      {"Send before Open, headers set",
       [](RequisicaoHttp& r) {
         r.SetRequestHeader("Accept", "application/json");
         r.SetClientCertificate("CURRENT_USER\\MY\\x");
       },
       [](RequisicaoHttp& r) { r.Send(); }, kSemOpen},
      {"Status before Send", abrir, [](RequisicaoHttp& r) { r.Status(); }, kSemResposta},
      {"ResponseText before Send", abrir, [](RequisicaoHttp& r) { r.ResponseText(); },
       kSemResposta},
      {"Status without Open", nada, [](RequisicaoHttp& r) { r.Status(); }, kSemResposta},
      {"Status after a failed Send",
       [](RequisicaoHttp& r) {
         r.Open("https://127.0.0.1:1/classTrib");  // nothing listens on port 1
         try {
           r.Send();
         } catch (const Erro&) {
         }
       },
       [](RequisicaoHttp& r) { r.Status(); }, kSemResposta},
  };
  for (const auto& c : casos) {
    RequisicaoHttp r;
    c.Preparar(r);
    const Erro e = teste::ErroLancado([&] { c.Chamar(r); }, c.Rotulo);
    EXPECT_EQ(e.Classe(), "EOleException") << c.Rotulo;
    EXPECT_EQ(e.Mensagem(), c.Mensagem) << c.Rotulo;
  }
}

TEST(RequisicaoHttp, TransportFailureIsAnOleException) {
  RequisicaoHttp r;
  r.Open("https://127.0.0.1:1/classTrib");
  const Erro e = teste::ErroLancado([&] { r.Send(); });
  EXPECT_EQ(e.Classe(), "EOleException");
  EXPECT_FALSE(e.Mensagem().empty());
}

}  // namespace
}  // namespace tolvane
