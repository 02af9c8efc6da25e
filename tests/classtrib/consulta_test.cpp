#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <regex>
#include <sstream>

#include "classtrib/conformidade_facil.h"
#include "classtrib/consulta_teste.h"
#include "classtrib/gerador_certificados.h"
#include "classtrib/lista_certificados.h"
#include "classtrib/resposta_exemplo.h"
#include "classtrib/servidor_https.h"
#include "comum/arquivos_teste.h"
#include "comum/porta_livre.h"
#include "comum/texto_teste.h"
#include "comum/variavel_ambiente.h"
#include "core/erro.h"
#include "platform/requisicao_http.h"

namespace tolvane {
namespace {

namespace fs = std::filesystem;
using teste::Atributo;
using teste::FormatoTeste;
using teste::GeradorCertificados;
using teste::ModeloCertificado;
using teste::PastaTemporaria;
using teste::ServidorHttps;
using teste::VariavelAmbiente;

const std::string kPrefixoTransporte = "Erro ao consultar API Conformidade Fácil: ";
const std::string kSubstituto = "\xEF\xBF\xBD";  // U+FFFD
// The Windows system text for ERROR_WINHTTP_CLIENT_AUTH_CERT_NEEDED.
const std::string kCertificadoNecessario =
    "A certificate is required to complete client authentication";

// Three local HTTPS servers sharing one set of test key material: one that requires a client
// certificate from the test CA, one that asks for none, one whose certificate nobody trusts.
// Each test gets an empty personal store, trusts the test CA and runs in UTF-8.
class Consulta : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    FMaterial = std::make_unique<PastaTemporaria>();
    FMutuo = std::make_unique<ServidorHttps>(FMaterial->Caminho(), "mutuo");
    FSemCliente = std::make_unique<ServidorHttps>(FMaterial->Caminho(), "sem-cliente");
    FNaoConfiavel = std::make_unique<ServidorHttps>(FMaterial->Caminho(), "nao-confiavel");
  }
  static void TearDownTestSuite() {
    FNaoConfiavel.reset();
    FSemCliente.reset();
    FMutuo.reset();
    FMaterial.reset();
  }

  static std::string Material(const std::string& ANome) { return *FMaterial / ANome; }
  static void Resposta(const std::string& ACenario, int AStatus, const std::string& ACorpo) {
    teste::DefinirResposta(FMaterial->Caminho(), ACenario, AStatus, ACorpo);
  }

  // Puts a file of the test server's material into the personal store.
  void Instalar(const std::string& AMaterial, const std::string& ANome) {
    fs::copy_file(Material(AMaterial), FRepositorio + "/" + ANome);
  }

  std::string ConsultarCst(const ServidorHttps& AServidor, const std::string& ACenario,
                           const std::string& ANomeCertificado, const std::string& ACst = "000") {
    const VariavelAmbiente url("TOLVANE_CLASSTRIB_URL", AServidor.BaseUrl(ACenario));
    return TConformidadeFacil(ANomeCertificado).ConsultarClassTribPorCst(ACst);
  }

  // The message of the error raised by AAcao; the OpenSSL version inside libcurl's texts
  // is masked, since security updates change it.
  template <typename F>
  static std::string MensagemDeErro(F AAcao) {
    try {
      AAcao();
    } catch (const Erro& e) {
      return std::regex_replace(e.Mensagem(), std::regex("OpenSSL/[0-9][0-9a-z.]*"), "OpenSSL/N");
    }
    return "(nenhum erro)";
  }

  // The lines of the "eco" answer as a map ("caminho", "accept", "serie", "cn").
  static std::map<std::string, std::string> Eco(const std::string& AResposta) {
    std::map<std::string, std::string> r;
    std::istringstream linhas(AResposta);
    for (std::string linha; std::getline(linhas, linha);) {
      const auto separador = linha.find(": ");
      r[linha.substr(0, separador)] =
          separador == std::string::npos ? "" : linha.substr(separador + 2);
    }
    return r;
  }

  // A serial number as the server reports it: upper-case hexadecimal, whole bytes.
  static std::string Serie(long AValor) {
    std::ostringstream texto;
    texto << std::uppercase << std::hex << AValor;
    std::string r = texto.str();
    return r.size() % 2 ? "0" + r : r;
  }

  PastaTemporaria FDados;
  VariavelAmbiente FXdg{"XDG_DATA_HOME", FDados.Caminho()};
  VariavelAmbiente FLocal{"LC_ALL", "C.UTF-8"};
  VariavelAmbiente FCa{"TOLVANE_CLASSTRIB_CA", Material("ca.pem")};
  std::string FRepositorio = [this] {
    fs::create_directories(FDados / "tolvane/certificados");
    return FDados / "tolvane/certificados";
  }();

  static inline std::unique_ptr<PastaTemporaria> FMaterial;
  static inline std::unique_ptr<ServidorHttps> FMutuo;
  static inline std::unique_ptr<ServidorHttps> FSemCliente;
  static inline std::unique_ptr<ServidorHttps> FNaoConfiavel;
};

struct CasoResposta {
  const char* Rotulo;
  int Status;
  std::string Corpo;
  std::string Resultado;  // the text returned, or the error's message when Erro is set
  bool Erro;
};

TEST_F(Consulta, ServiceAnswersGiveTheResultOrTheHttpError) {
  Instalar("cliente.p12", "cliente.p12");
  const std::string exemplo = teste::RespostaClassTribExemplo();
  const std::string json404 = "{\"status\":404,\"mensagem\":\"CST não encontrado\"}";
  const CasoResposta casos[] = {
      {"ok_240KB_exato", 200, exemplo, exemplo, false},
      {"ok_vazio", 200, "", "", false},
      {"ok_nao_utf8", 200, "\xC3\x28 ok \xFF\xE2\x82 fim",
       "\xEF\xBF\xBD( ok \xEF\xBF\xBD\xEF\xBF\xBD fim", false},
      {"ok_nao_utf8_depois_de_texto_valido", 200,
       std::string(16, 'a') + "ção" + std::string(9, 'b') + "\xF0\x9F\x98" + "\xED\xA0\x80z",
       std::string(16, 'a') + "ção" + std::string(9, 'b') + teste::Repetir(kSubstituto, 4) + "z",
       false},
      {"ok_com_nul", 200, std::string("a\0b", 3), std::string("a\0b", 3), false},
      {"sem_conteudo_204", 204, "", "Erro HTTP 204: ", true},
      {"criado_201", 201, "{}", "Erro HTTP 201: {}", true},
      {"nao_encontrado_404", 404, json404, "Erro HTTP 404: " + json404, true},
      {"erro_interno_500", 500, "Internal Server Error", "Erro HTTP 500: Internal Server Error",
       true},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.Rotulo);
    Resposta(c.Rotulo, c.Status, c.Corpo);
    if (c.Erro)
      EXPECT_EQ(MensagemDeErro([&] { ConsultarCst(*FMutuo, c.Rotulo, ""); }), c.Resultado);
    else
      EXPECT_EQ(ConsultarCst(*FMutuo, c.Rotulo, ""), c.Resultado);
  }
}

TEST_F(Consulta, RequestCarriesTheUrlHeaderAndCertificateAsSent) {
  Instalar("cliente.p12", "cliente.p12");
  const VariavelAmbiente url("TOLVANE_CLASSTRIB_URL", FMutuo->BaseUrl("eco"));
  const TConformidadeFacil cliente("empresa teste");
  auto eco = Eco(cliente.ConsultarClassTribPorCst("000"));
  EXPECT_EQ(eco["caminho"], "/eco/api/v1/consultas/classTrib?Cst=000");
  EXPECT_EQ(eco["accept"], "application/json");
  EXPECT_EQ(eco["cn"], "EMPRESA TESTE LTDA:12345678000199");
  EXPECT_EQ(Eco(cliente.ConsultarClassTrib())["caminho"], "/eco/api/v1/consultas/classTrib");
  EXPECT_EQ(Eco(cliente.ConsultarClassTribPorNomeCst("Tributação & cia"))["caminho"],
            "/eco/api/v1/consultas/classTrib?NomeCst=Tributa%C3%A7%C3%A3o%20%26%20cia");
  // A redirect on the same server is followed, and the certificate goes with it.
  const VariavelAmbiente redirecionada("TOLVANE_CLASSTRIB_URL", FMutuo->BaseUrl("redir-eco"));
  eco = Eco(cliente.ConsultarClassTribPorCst("000"));
  EXPECT_EQ(eco["caminho"], "/eco/api/v1/consultas/classTrib?Cst=000");
  EXPECT_EQ(eco["cn"], "EMPRESA TESTE LTDA:12345678000199");
}

struct CasoFalha {
  const char* Rotulo;
  std::string Mensagem;  // after kPrefixoTransporte
};

TEST_F(Consulta, TransportFailuresGiveTheirExactMessages) {
  Resposta("ok", 200, "{}");
  auto consultar = [&](const ServidorHttps& AServidor, const std::string& ANome) {
    return MensagemDeErro([&] { ConsultarCst(AServidor, "ok", ANome); });
  };
  {
    SCOPED_TRACE("servidor exige certificado e o repositório está vazio");
    EXPECT_EQ(consultar(*FMutuo, ""), kPrefixoTransporte + kCertificadoNecessario);
  }
  Instalar("cliente.p12", "cliente.p12");
  {
    SCOPED_TRACE("nome que não corresponde a nenhum certificado");
    EXPECT_EQ(consultar(*FMutuo, "NAO EXISTE"), kPrefixoTransporte + kCertificadoNecessario);
    // A server that asks for no certificate decides otherwise: the query goes through.
    EXPECT_EQ(ConsultarCst(*FSemCliente, "ok", "NAO EXISTE"), "{}");
  }
  {
    SCOPED_TRACE("servidor não confiável");
    EXPECT_EQ(
        consultar(*FNaoConfiavel, ""),
        kPrefixoTransporte + "SSL certificate problem: unable to get local issuer certificate");
  }
  {
    SCOPED_TRACE("sem a CA de teste, o servidor de teste não é confiável");
    const VariavelAmbiente semCa("TOLVANE_CLASSTRIB_CA", std::nullopt);
    // This server sends the test CA along with its certificate.
    EXPECT_EQ(consultar(*FMutuo, ""),
              kPrefixoTransporte +
                  "SSL certificate problem: self-signed certificate in certificate chain");
  }
  {
    SCOPED_TRACE("arquivo de CA ausente");
    const VariavelAmbiente caAusente("TOLVANE_CLASSTRIB_CA", "/nao/existe/ca.pem");
    EXPECT_EQ(consultar(*FMutuo, ""),
              kPrefixoTransporte + "error setting certificate file: /nao/existe/ca.pem");
  }
  {
    SCOPED_TRACE("servidor fecha sem responder");
    EXPECT_EQ(MensagemDeErro([&] { ConsultarCst(*FMutuo, "fechar", ""); }),
              kPrefixoTransporte + "Empty reply from server");
  }
  {
    SCOPED_TRACE("conexão recusada");
    const int porta = teste::PortaLivre();
    const VariavelAmbiente url("TOLVANE_CLASSTRIB_URL",
                               "https://127.0.0.1:" + std::to_string(porta) + "/api/v1/consultas");
    // Through the test query, whose earlier answer stays as it was.
    PastaTemporaria executavel;
    const std::string arquivo = executavel / "RetornoClassTrib.json";
    teste::EscreverArquivo(arquivo, "{\"anterior\":1}");
    const std::string mensagem =
        MensagemDeErro([&] { ExecutarConsultaTeste("", executavel.Caminho()); });
    EXPECT_TRUE(std::regex_match(
        mensagem,
        std::regex(kPrefixoTransporte + "Failed to connect to 127\\.0\\.0\\.1 port " +
                   std::to_string(porta) + " after [0-9]+ ms: Couldn't connect to server")))
        << mensagem;
    EXPECT_EQ(teste::LerArquivo(arquivo), "{\"anterior\":1}");
    EXPECT_EQ(teste::EntradasDaPasta(executavel.Caminho()),
              std::vector<std::string>{"RetornoClassTrib.json"});
  }
  {
    SCOPED_TRACE("só https");
    const VariavelAmbiente url("TOLVANE_CLASSTRIB_URL", "http://127.0.0.1:1/api/v1/consultas");
    EXPECT_EQ(MensagemDeErro([] { TConformidadeFacil("").ConsultarClassTrib(); }),
              kPrefixoTransporte + "Protocol \"http\" not supported or disabled in libcurl");
  }
}

// Broken and hostile peers of the test query: each case gives its exact message and leaves the
// earlier answer file byte for byte as it was, with nothing beside it. The servers of this table
// ask for no client certificate, so each failure is the peer's own.
TEST_F(Consulta, BrokenOrHostilePeerGivesTheExactMessageAndKeepsThePreviousFile) {
  Resposta("ok", 200, "{\"nova\":1}");
  const ServidorHttps tls10(FMaterial->Caminho(), "sem-cliente", "1.0");
  const ServidorHttps tls11(FMaterial->Caminho(), "sem-cliente", "1.1");
  const ServidorHttps expirado(FMaterial->Caminho(), "expirado");
  const ServidorHttps outroHost(FMaterial->Caminho(), "outro-host");
  const std::string anterior = "{\"anterior\":\"ção\"}\r\n\r\n";
  struct {
    const char* Rotulo;
    const ServidorHttps& Servidor;
    const char* Cenario;
    std::string Mensagem;  // after kPrefixoTransporte
  } const casos[] = {
      {"fecha_no_meio_do_corpo", *FSemCliente, "meio",
       "transfer closed with 989 bytes remaining to read"},
      // The query asks for TLS 1.2 or newer, and the server says it has none: a client that
      // left the floor to OpenSSL's settings would fail otherwise here ("legacy sigalg
      // disallowed") or, where those allow TLS 1.0, connect.
      {"so_tls_1_0", tls10, "ok",
       "OpenSSL/N: error:0A00042E:SSL routines::tlsv1 alert protocol version"},
      {"so_tls_1_1", tls11, "ok",
       "OpenSSL/N: error:0A00042E:SSL routines::tlsv1 alert protocol version"},
      {"certificado_expirado", expirado, "ok", "SSL certificate problem: certificate has expired"},
      {"certificado_de_outro_host", outroHost, "ok",
       "SSL: no alternative certificate subject name matches target host name '127.0.0.1'"},
      {"redireciona_para_http", *FSemCliente, "redir-http",
       "Protocol \"http\" not supported or disabled in libcurl"},
      {"redireciona_para_outro_host", *FSemCliente, "redir-outro",
       "Redirecionamento para outro servidor recusado: https://localhost:" +
           std::to_string(FSemCliente->Porta()) + "/ok/api/v1/consultas/classTrib?Cst=000"},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.Rotulo);
    PastaTemporaria executavel;
    const std::string arquivo = executavel / "RetornoClassTrib.json";
    teste::EscreverArquivo(arquivo, anterior);
    const VariavelAmbiente url("TOLVANE_CLASSTRIB_URL", c.Servidor.BaseUrl(c.Cenario));
    EXPECT_EQ(MensagemDeErro([&] { ExecutarConsultaTeste("", executavel.Caminho()); }),
              kPrefixoTransporte + c.Mensagem);
    EXPECT_EQ(teste::LerArquivo(arquivo), anterior);
    EXPECT_EQ(teste::EntradasDaPasta(executavel.Caminho()),
              std::vector<std::string>{"RetornoClassTrib.json"});
  }
}

// Peer and host verification stay on whatever the environment says: the variables that OpenSSL
// and the curl tool read for their trust store do not make an unknown server trusted; only the
// documented TOLVANE_CLASSTRIB_CA adds an authority, and even then the host name must match.
TEST_F(Consulta, ServerVerificationCannotBeSwitchedOff) {
  Resposta("ok", 200, "{}");
  const std::string outraCa = Material("outra-ca.pem");
  PastaTemporaria pastaCa;
  teste::EscreverArquivo(pastaCa / "outra.pem", teste::LerArquivo(outraCa));
  const ServidorHttps outroHost(FMaterial->Caminho(), "outro-host");
  const std::string naoConfiavel =
      kPrefixoTransporte + "SSL certificate problem: unable to get local issuer certificate";
  struct {
    const char* Rotulo;
    std::vector<std::pair<const char*, std::string>> Ambiente;
    const ServidorHttps& Servidor;
    std::string Esperado;
  } const casos[] = {
      {"variaveis_do_openssl_e_do_curl",
       {{"SSL_CERT_FILE", outraCa},
        {"SSL_CERT_DIR", pastaCa.Caminho()},
        {"CURL_CA_BUNDLE", outraCa},
        {"CURL_SSL_NO_VERIFY", "1"}},
       *FNaoConfiavel,
       naoConfiavel},
      {"ca_extra_documentada", {{"TOLVANE_CLASSTRIB_CA", outraCa}}, *FNaoConfiavel, "{}"},
      {"ca_extra_nao_dispensa_o_nome_do_host",
       {},
       outroHost,
       kPrefixoTransporte +
           "SSL: no alternative certificate subject name matches target host name '127.0.0.1'"},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.Rotulo);
    std::vector<std::unique_ptr<VariavelAmbiente>> variaveis;
    for (const auto& [nome, valor] : c.Ambiente)
      variaveis.push_back(std::make_unique<VariavelAmbiente>(nome, valor));
    EXPECT_EQ(MensagemDeErro([&] { return ConsultarCst(c.Servidor, "ok", ""); }),
              c.Esperado == "{}" ? "(nenhum erro)" : c.Esperado);
  }
}

// A server that takes the request and never answers: the query gives up on its own after the
// receive time-out (30 s without data) with the transport's message. The bound is generous; the
// time-out is the behaviour under test.
TEST_F(Consulta, ServerThatNeverAnswersIsGivenUpAtTheTimeOut) {
  PastaTemporaria executavel;
  const std::string arquivo = executavel / "RetornoClassTrib.json";
  teste::EscreverArquivo(arquivo, "anterior\r\n");
  const VariavelAmbiente url("TOLVANE_CLASSTRIB_URL", FSemCliente->BaseUrl("silencio"));
  const auto inicio = std::chrono::steady_clock::now();
  const std::string mensagem =
      MensagemDeErro([&] { ExecutarConsultaTeste("", executavel.Caminho()); });
  const auto segundos =
      std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - inicio)
          .count();
  EXPECT_TRUE(std::regex_match(
      mensagem, std::regex(kPrefixoTransporte + "Operation too slow\\. Less than 1 bytes/sec "
                                                "transferred the last 30 seconds")))
      << mensagem;
  EXPECT_LT(segundos, 120);
  EXPECT_EQ(teste::LerArquivo(arquivo), "anterior\r\n");
}

// A server that asks for a certificate but would also serve a client without one: the request
// must not go out when no certificate of the store matches.
TEST_F(Consulta, ServerAsksForACertificateAndNoneMatchesFailsWithoutSending) {
  const ServidorHttps opcional(FMaterial->Caminho(), "opcional");
  Resposta("ok", 200, "{}");
  EXPECT_EQ(MensagemDeErro([&] { ConsultarCst(opcional, "ok", ""); }),
            kPrefixoTransporte + kCertificadoNecessario)
      << "repositório vazio";
  Instalar("cliente.p12", "cliente.p12");
  EXPECT_EQ(MensagemDeErro([&] { ConsultarCst(opcional, "ok", "NAO EXISTE"); }),
            kPrefixoTransporte + kCertificadoNecessario)
      << "nenhum certificado corresponde";
  EXPECT_EQ(Eco(ConsultarCst(opcional, "eco", "EMPRESA TESTE"))["cn"],
            "EMPRESA TESTE LTDA:12345678000199");
}

// The proxy asks every client for a certificate and logs the one it is given; through it, the
// service must still get the user's certificate, and the proxy none.
TEST_F(Consulta, HttpsProxyNeverSeesTheClientCertificate) {
  Instalar("cliente.p12", "cliente.p12");
  const ServidorHttps proxy(FMaterial->Caminho(), "proxy");
  const VariavelAmbiente semExcecao("no_proxy", std::nullopt);
  const VariavelAmbiente semExcecaoMaiusculo("NO_PROXY", std::nullopt);
  const VariavelAmbiente viaProxy("https_proxy",
                                  "https://127.0.0.1:" + std::to_string(proxy.Porta()));
  EXPECT_EQ(Eco(ConsultarCst(*FMutuo, "eco", "EMPRESA TESTE"))["cn"],
            "EMPRESA TESTE LTDA:12345678000199");
  EXPECT_EQ(teste::LerArquivo(Material("proxy.log")),
            "tunel 127.0.0.1:" + std::to_string(FMutuo->Porta()) + " certificado: \n");
}

TEST_F(Consulta, CertificateOfAnotherCaIsRefusedByTheServer) {
  Instalar("cliente-estranho.p12", "estranho.p12");
  Resposta("ok", 200, "{}");
  EXPECT_EQ(MensagemDeErro([&] { ConsultarCst(*FMutuo, "ok", "CERTIFICADO ESTRANHO"); }),
            kPrefixoTransporte +
                "OpenSSL SSL_read: OpenSSL/N: error:0A000418:SSL routines::tlsv1 alert unknown "
                "ca, errno 0");
}

TEST_F(Consulta, UnreadableStoreIsTheSystemErrorOfTheQuery) {
  fs::remove(FRepositorio);
  teste::EscreverArquivo(FRepositorio, "");
  EXPECT_EQ(MensagemDeErro([&] { ConsultarCst(*FMutuo, "eco", ""); }),
            kPrefixoTransporte + "System Error.  Code: 20.\r\nNot a directory");
}

// As ssh does with its keys: a key file that others can read is listed but never presented, and
// the query says what to do.
TEST_F(Consulta, KeyReadableByOthersIsListedButNeverPresented) {
  Instalar("cliente.p12", "cliente.p12");
  const std::string arquivo = FRepositorio + "/cliente.p12";
  const VariavelAmbiente url("TOLVANE_CLASSTRIB_URL", FMutuo->BaseUrl("eco"));
  for (const auto modo : {fs::perms(0640), fs::perms(0604), fs::perms(0644)}) {
    SCOPED_TRACE(static_cast<int>(modo));
    fs::permissions(arquivo, modo);
    EXPECT_EQ(ListarNomesCertificados(),
              std::vector<std::string>{"EMPRESA TESTE LTDA:12345678000199"});
    EXPECT_EQ(MensagemDeErro([] { TConformidadeFacil("EMPRESA").ConsultarClassTrib(); }),
              kPrefixoTransporte + "A chave privada do arquivo \"" + arquivo +
                  "\" pode ser lida por outros usuários; por segurança, o certificado não foi "
                  "usado. Execute chmod 600 \"" +
                  arquivo + "\" e tente de novo.");
  }
  fs::permissions(arquivo, fs::perms(0600));
  EXPECT_EQ(Eco(TConformidadeFacil("EMPRESA").ConsultarClassTrib())["cn"],
            "EMPRESA TESTE LTDA:12345678000199");
}

struct CasoSeletor {
  const char* Rotulo;
  std::string Texto;
  long Serie;  // of the certificate the server must see
};

// Among the certificates with a key whose subject holds the text, the first valid today that may
// authenticate a client; the first of them all when none may.
TEST_F(Consulta, SelectorPicksTheFirstCertificateWithAKeyWhoseSubjectHoldsTheText) {
  const GeradorCertificados gerador(Material("ca.pem"), Material("ca.key"));
  struct {
    const char* Arquivo;
    ModeloCertificado Modelo;
    FormatoTeste Formato;
  } const repositorio[] = {
      {"01-sem-chave.pem", {{{"CN", "EMPRESA ALFA"}}, {}, {}, 1}, FormatoTeste::PemSemChave},
      {"02-alfa.p12",
       {{{"C", "BR"}, {"CN", "EMPRESA ALFA LTDA"}}, {}, {}, 2},
       FormatoTeste::Pkcs12},
      {"03-joao.p12", {{{"CN", "JOÃO DA SILVA"}}, {}, {}, 3}, FormatoTeste::Pkcs12},
      {"04-so-o.p12", {{{"O", "Organização Beta"}}, {}, {}, 4}, FormatoTeste::Pkcs12},
      {"05-vazio.p12", {{}, {"fiscal@gama.com.br"}, {}, 5}, FormatoTeste::Pkcs12},
      {"06-duplicado.p12", {{{"CN", "Empresa Duplicada"}}, {}, {}, 6}, FormatoTeste::Pkcs12},
      {"07-duplicado.p12", {{{"CN", "Empresa Duplicada"}}, {}, {}, 7}, FormatoTeste::Pkcs12},
      {"08-pem.pem", {{{"CN", "Certificado PEM"}}, {}, {}, 8}, FormatoTeste::PemComChave},
      // A renewed certificate kept beside the expired one, and one for servers only beside one
      // for clients: the server would refuse the first of each pair.
      {"09-renovado-expirado.p12",
       {{{"CN", "EMPRESA RENOVADA"}}, {}, {}, 9, true},
       FormatoTeste::Pkcs12},
      {"10-renovado.p12", {{{"CN", "EMPRESA RENOVADA"}}, {}, {}, 10}, FormatoTeste::Pkcs12},
      {"11-uso-servidor.p12",
       {{{"CN", "EMPRESA USOS"}}, {}, {}, 11, false, {"serverAuth"}},
       FormatoTeste::Pkcs12},
      {"12-uso-cliente.p12",
       {{{"CN", "EMPRESA USOS"}}, {}, {}, 12, false, {"serverAuth", "clientAuth"}},
       FormatoTeste::Pkcs12},
  };
  for (const auto& r : repositorio)
    gerador.Gravar(r.Modelo, r.Formato, FRepositorio + "/" + r.Arquivo);

  const CasoSeletor casos[] = {
      {"texto_vazio_primeiro_com_chave", "", 2},
      {"sem_chave_nao_serve", "EMPRESA ALFA", 2},
      {"caixa_ignorada", "alfa ltda", 2},
      {"caixa_ignorada_fora_do_ascii", "joão da silva", 3},
      {"outro_atributo_do_assunto", "beta", 4},
      {"pais_e_nome_no_assunto", "BR, EMPRESA", 2},
      {"nome_de_exibicao_dos_nomes_alternativos", "fiscal@gama.com.br", 5},
      {"duplicados_o_primeiro", "Empresa Duplicada", 6},
      {"pem_com_chave", "certificado pem", 8},
      {"renovado_depois_do_expirado", "empresa renovada", 10},
      {"uso_de_cliente_depois_do_de_servidor", "EMPRESA USOS", 12},
  };
  const VariavelAmbiente url("TOLVANE_CLASSTRIB_URL", FMutuo->BaseUrl("eco"));
  for (const auto& c : casos) {
    SCOPED_TRACE(c.Rotulo);
    // A certificate the server refuses reads as the query's error, and the next case still runs.
    std::string serie;
    try {
      serie = Eco(TConformidadeFacil(c.Texto).ConsultarClassTrib())["serie"];
    } catch (const Erro& e) {
      serie = e.Mensagem();
    }
    EXPECT_EQ(serie, Serie(c.Serie));
  }
}

TEST_F(Consulta, HundredsOfCertificatesAreAllListedAndTheLastCanBeChosen) {
  const GeradorCertificados gerador(Material("ca.pem"), Material("ca.key"));
  constexpr int kTotal = 300;
  std::vector<std::string> esperados;
  for (int i = 1; i <= kTotal; ++i) {
    std::string nome = std::to_string(i);
    nome = "Certificado " + std::string(4 - nome.size(), '0') + nome;
    esperados.push_back(nome);
    gerador.Gravar({{{"CN", nome}}, {}, {}, i},
                   i % 10 == 0 ? FormatoTeste::Pkcs12 : FormatoTeste::PemComChave,
                   FRepositorio + "/" + nome + (i % 10 == 0 ? ".p12" : ".pem"));
  }
  EXPECT_EQ(ListarNomesCertificados(), esperados);
  const VariavelAmbiente url("TOLVANE_CLASSTRIB_URL", FMutuo->BaseUrl("eco"));
  EXPECT_EQ(Eco(TConformidadeFacil("Certificado 0300").ConsultarClassTrib())["serie"],
            Serie(kTotal));
}

TEST_F(Consulta, TestQuerySavesTheAnswerInTheExecutablesFolder) {
  Instalar("cliente.p12", "cliente.p12");
  const std::string exemplo = teste::RespostaClassTribExemplo();
  Resposta("classificacao", 200, exemplo);
  PastaTemporaria executavel;
  const VariavelAmbiente url("TOLVANE_CLASSTRIB_URL", FMutuo->BaseUrl("classificacao"));
  const std::string esperado = executavel / "RetornoClassTrib.json";

  EXPECT_EQ(ExecutarConsultaTeste("EMPRESA TESTE", executavel.Caminho()), esperado);
  // The sample answer already has CR LF line ends and a final one: the file is the answer.
  EXPECT_EQ(teste::LerArquivo(esperado), exemplo);
  EXPECT_EQ(ExecutarConsultaTeste("EMPRESA TESTE", executavel.Caminho() + "/"), esperado);
  EXPECT_EQ(teste::EntradasDaPasta(executavel.Caminho()),
            std::vector<std::string>{"RetornoClassTrib.json"});
}

TEST_F(Consulta, FailedTestQueryLeavesThePreviousAnswerFileWhole) {
  Instalar("cliente.p12", "cliente.p12");
  PastaTemporaria executavel;
  teste::EscreverArquivo(executavel / "RetornoClassTrib.json", "resposta anterior\r\n");
  Resposta("falha", 503, "{\"erro\":\"indisponível\"}");
  const VariavelAmbiente url("TOLVANE_CLASSTRIB_URL", FMutuo->BaseUrl("falha"));
  EXPECT_EQ(MensagemDeErro([&] { ExecutarConsultaTeste("", executavel.Caminho()); }),
            "Erro HTTP 503: {\"erro\":\"indisponível\"}");
  EXPECT_EQ(teste::LerArquivo(executavel / "RetornoClassTrib.json"), "resposta anterior\r\n");
  EXPECT_EQ(teste::EntradasDaPasta(executavel.Caminho()),
            std::vector<std::string>{"RetornoClassTrib.json"});
}

// A broken or hostile endpoint must not make the tray program hold an answer of any size: past
// the limit the query fails, whether the size is announced or only seen while it arrives, and the
// earlier answer file stays as it was.
TEST_F(Consulta, AnswerOverTheCapFailsAndLeavesThePreviousFileWhole) {
  Instalar("cliente.p12", "cliente.p12");
  const std::string anterior = "{\"anterior\":\"ção\"}\r\n";
  const std::string limite(kTamanhoMaximoResposta, 'x');
  const std::string alem = limite + "y";
  const std::string mensagem =
      kPrefixoTransporte + "A resposta do servidor ultrapassa o limite de 64 MiB";
  struct {
    const char* Cenario;
    const std::string& Corpo;
    bool Fluxo;
    bool Falha;
  } const casos[] = {
      {"limite_anunciado", limite, false, false},
      {"alem_anunciado", alem, false, true},
      {"alem_em_fluxo", alem, true, true},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.Cenario);
    Resposta(c.Cenario, 200, c.Corpo);
    if (c.Fluxo)
      teste::EscreverArquivo(Material(std::string("respostas/") + c.Cenario + ".fluxo"), "");
    PastaTemporaria executavel;
    const std::string arquivo = executavel / "RetornoClassTrib.json";
    teste::EscreverArquivo(arquivo, anterior);
    const VariavelAmbiente url("TOLVANE_CLASSTRIB_URL", FMutuo->BaseUrl(c.Cenario));
    if (c.Falha) {
      EXPECT_EQ(MensagemDeErro([&] { ExecutarConsultaTeste("", executavel.Caminho()); }), mensagem);
      const std::string salvo = teste::LerArquivo(arquivo);
      EXPECT_TRUE(salvo == anterior)
          << "the earlier file was replaced by " << salvo.size() << " bytes";
    } else {
      ExecutarConsultaTeste("", executavel.Caminho());
      EXPECT_EQ(teste::LerArquivo(arquivo).size(), kTamanhoMaximoResposta + 2);  // and CR LF
    }
    EXPECT_EQ(teste::EntradasDaPasta(executavel.Caminho()),
              std::vector<std::string>{"RetornoClassTrib.json"});
  }
}

TEST_F(Consulta, AnswerOf50MBIsSavedWithoutHanging) {
  Instalar("cliente.p12", "cliente.p12");
  constexpr int kLinhas = 50 * 1024;
  const std::string registro = "{\"cClassTrib\":\"000001\",\"DescricaoClassTrib\":\"Situação\"}";
  const std::string linha = registro + std::string(1023 - registro.size(), ' ') + "\n";
  std::string corpo;
  corpo.reserve(linha.size() * kLinhas);
  for (int i = 0; i < kLinhas; ++i) corpo += linha;
  Resposta("grande", 200, corpo);
  PastaTemporaria executavel;
  const VariavelAmbiente url("TOLVANE_CLASSTRIB_URL", FMutuo->BaseUrl("grande"));
  const std::string caminho = ExecutarConsultaTeste("", executavel.Caminho());
  const std::string salvo = teste::LerArquivo(caminho);
  EXPECT_EQ(salvo.size(), corpo.size() + kLinhas);  // each LF became CR LF
  EXPECT_EQ(salvo.substr(salvo.size() - 3), " \r\n");
}

}  // namespace
}  // namespace tolvane
