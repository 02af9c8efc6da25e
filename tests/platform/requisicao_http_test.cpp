// The HTTP request object's order of calls: what each call says when it comes too early; and the
// body's text by the character set of its Content-Type. None of these cases reaches a network.
#include "platform/requisicao_http.h"

#include <gtest/gtest.h>

#include <functional>

#include "comum/espera_teste.h"
#include "platform/texto_resposta.h"

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

TEST(TextoResposta, BodyDecodedByTheCharsetOfItsContentType) {
  using namespace std::string_literals;
  struct Caso {
    const char* TipoConteudo;
    std::string Corpo;
    std::string Texto;
  };
  const Caso casos[] = {
      {"", "Tributação", "Tributação"},
      {"application/json; charset=utf-8", "Tributação", "Tributação"},
      {"application/json; charset=ISO-8859-1", "Tributa\xE7\xE3o", "Tributação"},
      {"text/plain;charset=\"windows-1252\"", "\x80 \x93x\x94 \x81", "€ “x” \xC2\x81"},
      {"text/plain; Charset=US-ASCII; format=flowed", "a\xE7", "aç"},
      {"text/plain; charset=UTF-16LE", "T\0\xE7\0"s, "Tç"},
      {"text/plain; charset=utf-16be", "\0T\0\xE7"s, "Tç"},
      {"text/plain; charset=utf-16", "\xFF\xFET\0\x3D\xD8\x00\xDE"s, "T😀"},
      {"text/plain; charset=utf-16le", "T\0x"s, "T\xEF\xBF\xBD"},
      // No charset, or one not known: UTF-8, invalid sequences replaced.
      {"application/json", "a\xE7", "a\xEF\xBF\xBD"},
      {"text/plain; charset=koi8-r", "ação", "ação"},
      {"text/plain; xcharset=latin1", "a\xE7", "a\xEF\xBF\xBD"},
      {"application/json", "a\0b"s, "a\0b"s},
  };
  for (const auto& c : casos)
    EXPECT_EQ(TextoResposta(c.Corpo, c.TipoConteudo), c.Texto) << c.TipoConteudo;
}

}  // namespace
}  // namespace tolvane
