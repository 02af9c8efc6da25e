// The consultation on Windows, against the fixture's mutual-TLS test server (tests/wine), which
// the program reaches as https://localhost: the fixture put the server's CA into the prefix's
// CURRENT_USER "Root" store and the client certificate, CN "EMPRESA TESTE
// LTDA:12345678000199", into CURRENT_USER "MY", with an expired certificate and its renewal
// under CN "EMPRESA RENOVADA LTDA:98765432000110".
#include <windows.h>
#undef MessageBox
#include <winhttp.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "classtrib/conformidade_facil.h"
#include "classtrib/consulta_teste.h"
#include "comum/arquivos_teste.h"
#include "comum/espera_teste.h"
#include "comum/porta_livre.h"
#include "comum/variavel_ambiente.h"
#include "core/erro.h"
#include "core/utf8.h"
#include "platform/transporte_http.h"
#include "platform/win32/cliente_crypt32.h"

namespace tolvane {
namespace {

using teste::VariavelAmbiente;

const std::string kPrefixoTransporte = "Erro ao consultar API Conformidade Fácil: ";

// The server's folder (TOLVANE_TESTE_HTTPS, set by CTest): its port, its scripted answers.
std::string PastaServidor() {
  const char* pasta = std::getenv("TOLVANE_TESTE_HTTPS");
  if (!pasta) throw std::runtime_error("TOLVANE_TESTE_HTTPS is not set: run through CTest");
  return pasta;
}

std::string Porta() {
  const std::string porta = teste::LerArquivo(PastaServidor() + "/porta");
  return porta.substr(0, porta.find('\n'));
}

std::string BaseUrl(const std::string& ACenario) {
  return "https://localhost:" + Porta() + "/" + ACenario + "/api/v1/consultas";
}

std::string ConsultarCst(const std::string& ACenario, const std::string& ACertificado) {
  const VariavelAmbiente url("TOLVANE_CLASSTRIB_URL", BaseUrl(ACenario));
  return TConformidadeFacil(ACertificado).ConsultarClassTribPorCst("000");
}

std::map<std::string, std::string> Eco(const std::string& AResposta) {
  std::map<std::string, std::string> r;
  std::istringstream linhas(AResposta);
  for (std::string linha; std::getline(linhas, linha);) {
    const auto separador = linha.find(": ");
    r[linha.substr(0, separador)] =
        separador == std::string::npos ? "" : linha.substr(separador + 2);
  }
  return r;
}

TEST(ConsultaWindows, CertificateFromTheMyStoreIsPresentedToTheServer) {
  auto eco = Eco(ConsultarCst("eco", "empresa teste"));
  EXPECT_EQ(eco["caminho"], "/eco/api/v1/consultas/classTrib?Cst=000");
  EXPECT_EQ(eco["accept"], "application/json");
  EXPECT_EQ(eco["cn"], "EMPRESA TESTE LTDA:12345678000199");
}

TEST(ConsultaWindows, BodyInUtf8OrTheHttpErrorWithTheBody) {
  struct Caso {
    const char* Cenario;
    int Status;
    std::string Corpo;
    std::string Resultado;  // the text returned, or the error's message
  };
  const std::string json404 = "{\"status\":404,\"mensagem\":\"CST não encontrado\"}";
  const Caso casos[] = {
      {"win_ok", 200, "{\"descricao\":\"Tributação\"}", "{\"descricao\":\"Tributação\"}"},
      {"win_404", 404, json404, "Erro HTTP 404: " + json404},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.Cenario);
    teste::EscreverArquivo(PastaServidor() + "/respostas/" + c.Cenario + ".status",
                           std::to_string(c.Status));
    teste::EscreverArquivo(PastaServidor() + "/respostas/" + c.Cenario + ".corpo", c.Corpo);
    std::string resultado;
    try {
      resultado = ConsultarCst(c.Cenario, "EMPRESA TESTE");
    } catch (const Erro& e) {
      resultado = e.Mensagem();
    }
    EXPECT_EQ(resultado, c.Resultado);
  }
}

// A certificate's serial number as the server reports it: hexadecimal in upper case, most
// significant byte first, without leading zero bytes (CryptoAPI keeps it least significant
// first).
std::string Serie(PCCERT_CONTEXT ACertificado) {
  const CRYPT_INTEGER_BLOB& serie = ACertificado->pCertInfo->SerialNumber;
  std::string r;
  for (DWORD i = serie.cbData; i-- > 0;) {
    if (r.empty() && i > 0 && serie.pbData[i] == 0) continue;
    char digitos[3];
    std::snprintf(digitos, sizeof digitos, "%02X", serie.pbData[i]);
    r += digitos;
  }
  return r;
}

// A user who renewed a certificate keeps the expired one beside it in "MY", under the same
// subject. The fixture made the pair so that the expired one comes first in the store's order
// (checked here, since Wine's order follows the certificates' fingerprints); the query presents
// the renewal, which the server accepts, where the first match would be refused.
TEST(ConsultaWindows, RenewedCertificateIsPresentedThoughTheExpiredOneComesFirst) {
  const ClienteCrypt32& crypt32 = CarregarClienteCrypt32();
  const RepositorioPtr repositorio(
      crypt32.CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, L"MY"));
  ASSERT_TRUE(repositorio) << GetLastError();
  struct Renovado {
    bool ValidoHoje;
    std::string Serie;
  };
  std::vector<Renovado> ordem;
  for (PCCERT_CONTEXT c = nullptr;
       (c = crypt32.CertFindCertificateInStore(repositorio.get(), X509_ASN_ENCODING, 0,
                                               CERT_FIND_SUBJECT_STR_W, L"EMPRESA RENOVADA", c));)
    ordem.push_back({crypt32.CertVerifyTimeValidity(nullptr, c->pCertInfo) == 0, Serie(c)});
  ASSERT_EQ(ordem.size(), 2u);
  ASSERT_FALSE(ordem[0].ValidoHoje) << "the fixture's expired certificate is no longer first";
  ASSERT_TRUE(ordem[1].ValidoHoje);

  auto eco = Eco(ConsultarCst("eco", "empresa renovada"));
  EXPECT_EQ(eco["cn"], "EMPRESA RENOVADA LTDA:98765432000110");
  EXPECT_EQ(eco["serie"], ordem[1].Serie);
}

// The system's text for a WinHTTP code, as winhttp.dll words it in the user's language.
std::string TextoWinHttp(DWORD ACodigo) {
  const HMODULE winhttp = LoadLibraryW(L"winhttp.dll");
  wchar_t* texto = nullptr;
  FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS,
      winhttp, ACodigo, 0, reinterpret_cast<wchar_t*>(&texto), 0, nullptr);
  const std::wstring_view largo(texto ? texto : L"");
  const std::string r = Utf8DeUtf16(std::u16string(largo.begin(), largo.end()));
  LocalFree(texto);
  if (winhttp) FreeLibrary(winhttp);
  return TextoSistemaAparado(r);
}

// A redirect is followed on the same server only, with the certificate; to another server, or to
// plain http, it is refused before anything is sent there.
TEST(ConsultaWindows, RedirectsStayOnTheService) {
  auto eco = Eco(ConsultarCst("redir-eco", "empresa teste"));
  EXPECT_EQ(eco["caminho"], "/eco/api/v1/consultas/classTrib?Cst=000");
  EXPECT_EQ(eco["cn"], "EMPRESA TESTE LTDA:12345678000199");
  const std::string sistema = TextoWinHttp(ERROR_WINHTTP_REDIRECT_FAILED);
  struct Caso {
    const char* Cenario;
    std::string Mensagem;  // after kPrefixoTransporte
  };
  const Caso casos[] = {
      {"redir-outro", "Redirecionamento para outro servidor recusado: https://127.0.0.1:" +
                          Porta() + "/ok/api/v1/consultas/classTrib?Cst=000"},
      {"redir-http", sistema.empty() ? "The HTTP redirect request failed" : sistema},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.Cenario);
    const Erro e = teste::ErroLancado([&] { ConsultarCst(c.Cenario, "empresa teste"); });
    EXPECT_EQ(e.Mensagem(), kPrefixoTransporte + c.Mensagem);
  }
}

// The server requires a certificate and none in "MY" matches: Send fails with the system's text
// for ERROR_WINHTTP_CLIENT_AUTH_CERT_NEEDED, or Windows's own words where the system has none
// (Wine's winhttp.dll carries no texts).
TEST(ConsultaWindows, NoCertificateMatchesIsATransportFailure) {
  const std::string sistema = TextoWinHttp(ERROR_WINHTTP_CLIENT_AUTH_CERT_NEEDED);
  const Erro e = teste::ErroLancado([] { ConsultarCst("eco", "NINGUEM COM ESTE NOME"); });
  EXPECT_EQ(e.Mensagem(),
            kPrefixoTransporte + (sistema.empty() ? kTextoCertificadoNecessario : sistema));
}

// Transport failures read as the system words them, or as Windows does where the system has no
// text; never as a bare code.
TEST(ConsultaWindows, TransportFailuresReadAsTheSystemWordsThem) {
  struct Caso {
    const char* Rotulo;
    std::string Url;
    DWORD Codigo;
    const char* PalavrasDoWindows;
  };
  const Caso casos[] = {
      {"conexão recusada",
       "https://localhost:" + std::to_string(teste::PortaLivre()) + "/api/v1/consultas",
       ERROR_WINHTTP_CANNOT_CONNECT, "A connection with the server could not be established"},
      {"esquema desconhecido", "ftp://localhost/api/v1/consultas",
       ERROR_WINHTTP_UNRECOGNIZED_SCHEME, "The URL does not use a recognized protocol"},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.Rotulo);
    const VariavelAmbiente url("TOLVANE_CLASSTRIB_URL", c.Url);
    const std::string sistema = TextoWinHttp(c.Codigo);
    const Erro e = teste::ErroLancado(
        [] { TConformidadeFacil("EMPRESA TESTE").ConsultarClassTribPorCst("000"); });
    EXPECT_EQ(e.Mensagem(), kPrefixoTransporte + (sistema.empty() ? c.PalavrasDoWindows : sistema));
  }
}

// A server that speaks only TLS 1.0, or only TLS 1.1, is refused before the request goes out:
// the query asks WinHTTP for TLS 1.2 or newer, where WinHTTP's own choice reaches down to TLS 1.0.
// These servers (ServidoresTlsAntigoWine) are trusted and ask for no client certificate, so the
// version is the one reason.
TEST(ConsultaWindows, ServerBelowTls12IsRefused) {
  const std::string sistema = TextoWinHttp(ERROR_WINHTTP_SECURE_CHANNEL_ERROR);
  for (const char* servidor : {"tls10", "tls11"}) {
    SCOPED_TRACE(servidor);
    const std::string porta = teste::LerArquivo(PastaServidor() + "/" + servidor + ".porta");
    const VariavelAmbiente url(
        "TOLVANE_CLASSTRIB_URL",
        "https://localhost:" + porta.substr(0, porta.find('\n')) + "/ok/api/v1/consultas");
    const Erro e = teste::ErroLancado(
        [] { TConformidadeFacil("EMPRESA TESTE").ConsultarClassTribPorCst("000"); });
    EXPECT_EQ(e.Mensagem(),
              kPrefixoTransporte +
                  (sistema.empty() ? "An error occurred in the secure channel support" : sistema));
  }
}

// A server that takes the request and never answers: the test query gives up on its own at the
// receive time-out (30 s without data) with the system's words for a time-out, and the earlier
// answer stays. The bound is generous; the time-out is the behaviour under test.
TEST(ConsultaWindows, ServerThatNeverAnswersIsGivenUpAtTheTimeOut) {
  teste::PastaTemporaria executavel;
  const std::string arquivo = executavel / "RetornoClassTrib.json";
  teste::EscreverArquivo(arquivo, "anterior\r\n");
  const VariavelAmbiente url("TOLVANE_CLASSTRIB_URL", BaseUrl("silencio"));
  const std::string sistema = TextoWinHttp(ERROR_WINHTTP_TIMEOUT);
  const auto inicio = std::chrono::steady_clock::now();
  const Erro e =
      teste::ErroLancado([&] { ExecutarConsultaTeste("EMPRESA TESTE", executavel.Caminho()); });
  const auto segundos =
      std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - inicio)
          .count();
  EXPECT_EQ(e.Mensagem(),
            kPrefixoTransporte + (sistema.empty() ? "The operation timed out" : sistema));
  EXPECT_LT(segundos, 120);
  EXPECT_EQ(teste::LerArquivo(arquivo), "anterior\r\n");
  EXPECT_EQ(teste::EntradasDaPasta(executavel.Caminho()),
            std::vector<std::string>{"RetornoClassTrib.json"});
}

// The machine's WinHTTP proxy (what `netsh winhttp set proxy` sets) pointed at AProxy while the
// object lives, and put back as it was after. Machine-wide: the test that uses it runs alone.
class ProxyDoSistema {
 public:
  explicit ProxyDoSistema(const std::string& AProxy) {
    if (!WinHttpGetDefaultProxyConfiguration(&FAnterior))
      throw std::runtime_error("WinHttpGetDefaultProxyConfiguration: " +
                               std::to_string(GetLastError()));
    std::wstring proxy(AProxy.begin(), AProxy.end());
    WINHTTP_PROXY_INFO novo{WINHTTP_ACCESS_TYPE_NAMED_PROXY, proxy.data(), nullptr};
    if (!WinHttpSetDefaultProxyConfiguration(&novo))
      throw std::runtime_error("WinHttpSetDefaultProxyConfiguration: " +
                               std::to_string(GetLastError()));
  }
  ~ProxyDoSistema() {
    WinHttpSetDefaultProxyConfiguration(&FAnterior);
    GlobalFree(FAnterior.lpszProxy);
    GlobalFree(FAnterior.lpszProxyBypass);
  }
  ProxyDoSistema(const ProxyDoSistema&) = delete;
  ProxyDoSistema& operator=(const ProxyDoSistema&) = delete;

 private:
  WINHTTP_PROXY_INFO FAnterior{};
};

// The query through the machine's proxy (the fixture's plain-HTTP proxy, which only tunnels
// CONNECT): the service gets the certificate inside the tunnel, the proxy sees tunnels to the
// service and no request of its own, and the answer is saved byte for byte. An answer of status
// 200 whose body stops short of its announced length is a failure, directly or through the proxy,
// and the earlier answer file stays.
TEST(ConsultaWindows, SystemProxyIsHonouredAndAShortBodyIsNeverSaved) {
  // Lines in ASCII that end in CR LF, which the answer file keeps as they are.
  std::string corpo;
  for (int i = 0; corpo.size() < 200000; ++i)
    corpo += "{\"linha\":" + std::to_string(i) + ",\"descricao\":\"Tributacao integral\"}\r\n";
  teste::EscreverArquivo(PastaServidor() + "/respostas/proxy_grande.corpo", corpo);
  const std::string sistema = TextoWinHttp(ERROR_WINHTTP_CONNECTION_ERROR);
  const std::string corte =
      kPrefixoTransporte +
      (sistema.empty() ? "The connection with the server was terminated abnormally" : sistema);
  const std::string anterior = "anterior\r\n";
  struct Caso {
    const char* Rotulo;
    bool PeloProxy;
    const char* Cenario;
    std::string Salvo;     // the answer file's bytes after the query
    std::string Mensagem;  // the error's, empty for none
  };
  // Directly first: WinHTTP keeps a tunnel open for the next request to the same server.
  const Caso casos[] = {
      {"direto, corpo pela metade", false, "meio", anterior, corte},
      {"pelo proxy", true, "proxy_grande", corpo, ""},
      {"pelo proxy, corpo pela metade", true, "meio", anterior, corte},
  };
  const std::string porta = teste::LerArquivo(PastaServidor() + "/proxyhttp.porta");
  const std::string proxy = "127.0.0.1:" + porta.substr(0, porta.find('\n'));
  // The proxy's log of tunnels and refused requests; absent until its first line.
  const auto registro = [] {
    std::ifstream arquivo(PastaServidor() + "/proxy.log", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(arquivo), {});
  };
  const std::string antes = registro();
  for (const auto& c : casos) {
    SCOPED_TRACE(c.Rotulo);
    std::optional<ProxyDoSistema> sistemaComProxy;
    if (c.PeloProxy) sistemaComProxy.emplace(proxy);
    teste::PastaTemporaria executavel;
    const std::string arquivo = executavel / "RetornoClassTrib.json";
    teste::EscreverArquivo(arquivo, anterior);
    const VariavelAmbiente url("TOLVANE_CLASSTRIB_URL", BaseUrl(c.Cenario));
    try {
      ExecutarConsultaTeste("EMPRESA TESTE", executavel.Caminho());
      EXPECT_EQ(c.Mensagem, "");
    } catch (const Erro& e) {
      EXPECT_EQ(e.Mensagem(), c.Mensagem);
    }
    EXPECT_TRUE(teste::LerArquivo(arquivo) == c.Salvo) << "the answer file differs";
    if (!c.PeloProxy) {
      EXPECT_EQ(registro(), antes) << "the proxy was used";
    }
  }
  const ProxyDoSistema sistemaComProxy(proxy);
  EXPECT_EQ(Eco(ConsultarCst("eco", "EMPRESA TESTE"))["cn"], "EMPRESA TESTE LTDA:12345678000199");
  // Every line the proxy logged meanwhile: a tunnel to the service.
  std::istringstream linhas(registro().substr(antes.size()));
  int tuneis = 0;
  for (std::string linha; std::getline(linhas, linha); ++tuneis)
    EXPECT_EQ(linha, "tunel localhost:" + Porta());
  EXPECT_GE(tuneis, 1);
}

}  // namespace
}  // namespace tolvane
