#include "platform/transporte_http.h"

#include <cstdint>
#include <cwchar>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/erro.h"
#include "platform/erro_sistema.h"
#include "platform/requisicao_http.h"
#include "platform/seletor_certificado.h"
#include "platform/win32/cliente_crypt32.h"
#include "platform/win32/cliente_winhttp.h"

// The engine that the Windows HTTP request object wraps, called directly: the object's own
// client-certificate call cannot be given a certificate context, the C API can.

namespace tolvane {

namespace {

void FecharInternet(HINTERNET A) noexcept { CarregarClienteWinHttp().WinHttpCloseHandle(A); }
using InternetPtr = HandleUnico<HINTERNET, FecharInternet>;

// The request object's user agent and default time-outs: no limit to resolve a name, 60 s to
// connect, 30 s for each send and each receive.
constexpr const wchar_t* kAgente = L"Mozilla/4.0 (compatible; Win32; WinHttp.WinHttpRequest.5)";
constexpr int kMsResolucao = 0;
constexpr int kMsConexao = 60000;
constexpr int kMsEnvio = 30000;
constexpr int kMsRecepcao = 30000;
// As many redirects as the object follows by default.
constexpr int kMaximoRedirecionamentos = 10;

// Windows 11's value, in winhttp.h of the newer SDKs and MinGW headers only.
#ifndef WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_3
#define WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_3 0x00002000
#endif

// Windows's words for the codes a user meets most, where the system has no text (Wine's
// winhttp.dll carries none).
std::string TextoConhecido(DWORD ACodigo) {
  switch (ACodigo) {
    case ERROR_WINHTTP_CLIENT_AUTH_CERT_NEEDED:
      return kTextoCertificadoNecessario;
    case ERROR_WINHTTP_TIMEOUT:
      return "The operation timed out";
    case ERROR_WINHTTP_INVALID_URL:
      return "The URL is invalid";
    case ERROR_WINHTTP_UNRECOGNIZED_SCHEME:
      return "The URL does not use a recognized protocol";
    case ERROR_WINHTTP_NAME_NOT_RESOLVED:
      return "The server name or address could not be resolved";
    case ERROR_WINHTTP_CANNOT_CONNECT:
      return "A connection with the server could not be established";
    case ERROR_WINHTTP_CONNECTION_ERROR:
      return "The connection with the server was terminated abnormally";
    case ERROR_WINHTTP_INVALID_SERVER_RESPONSE:
      return "The server returned an invalid or unrecognized response";
    case ERROR_WINHTTP_SECURE_FAILURE:
      return "A security error occurred";
    case ERROR_WINHTTP_SECURE_CHANNEL_ERROR:
      return "An error occurred in the secure channel support";
    case ERROR_WINHTTP_REDIRECT_FAILED:
      return "The HTTP redirect request failed";
    default:
      return "WinHTTP error " + std::to_string(ACodigo);
  }
}

// The system's text for a WinHTTP code (winhttp.dll's messages, then the system's), trimmed.
std::string TextoWinHttp(DWORD ACodigo) {
  wchar_t* texto = nullptr;
  FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_HMODULE |
                     FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                 GetModuleHandleW(L"winhttp.dll"), ACodigo, 0, reinterpret_cast<wchar_t*>(&texto),
                 0, nullptr);
  const std::unique_ptr<wchar_t, decltype(&LocalFree)> guarda(texto, LocalFree);
  const std::string r = TextoSistemaAparado(texto ? DeUtf16(texto) : std::string());
  return r.empty() ? TextoConhecido(ACodigo) : r;
}

// The failure of the WinHTTP call that has just returned.
[[noreturn]] void FalharWinHttp() {
  DWORD codigo = GetLastError();
  // Wine's WinHTTP passes on the socket's own code where a receive timed out; Windows reports
  // its time-out code, and the user reads the same words either way.
  if (codigo == WSAETIMEDOUT) codigo = ERROR_WINHTTP_TIMEOUT;
  throw ErroOle(TextoWinHttp(codigo));
}

// The length the answer announces (Content-Length); none when it announces none.
std::optional<std::uint64_t> TamanhoAnunciado(HINTERNET APedido) {
  // As text: the number flag gives 32 bits only.
  wchar_t texto[32];
  DWORD tamanho = sizeof texto;
  if (!CarregarClienteWinHttp().WinHttpQueryHeaders(APedido, WINHTTP_QUERY_CONTENT_LENGTH,
                                                    WINHTTP_HEADER_NAME_BY_INDEX, texto, &tamanho,
                                                    WINHTTP_NO_HEADER_INDEX))
    return std::nullopt;
  wchar_t* fim = nullptr;
  const std::uint64_t valor = std::wcstoull(texto, &fim, 10);
  return fim == texto ? std::nullopt : std::optional(valor);
}

InternetPtr Verificado(HINTERNET AHandle) {
  if (!AHandle) FalharWinHttp();
  return InternetPtr(AHandle);
}

// TLS 1.2 or newer on the session's connections, never older. WinHTTP's own choice reaches down
// to TLS 1.0 (on Windows 7 and 8 it stops there; 8.1 and 10 add 1.1 and 1.2 but keep 1.0), so a
// server or a man in the middle that offers only TLS 1.0 would be taken. A system that does not
// know TLS 1.3 (before Windows 11) refuses the value with it as an invalid parameter and gets
// 1.2 alone. Windows 7 SP1 knows TLS 1.2 in WinHTTP only with Microsoft's update KB3140245;
// without it 1.2 is refused too, and the query fails saying so rather than speak TLS 1.0 (the
// service takes nothing older than 1.2 anyway).
void ExigirTls12(const ClienteWinHttp& AWinHttp, HINTERNET ASessao) {
  for (DWORD protocolos :
       {DWORD{WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_2 | WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_3},
        DWORD{WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_2}}) {
    if (AWinHttp.WinHttpSetOption(ASessao, WINHTTP_OPTION_SECURE_PROTOCOLS, &protocolos,
                                  sizeof protocolos))
      return;
    if (GetLastError() != ERROR_INVALID_PARAMETER) FalharWinHttp();
  }
  throw ErroOle(
      "O Windows desta estação não oferece TLS 1.2 às conexões HTTPS (WinHTTP); no Windows 7 SP1, "
      "instale a atualização KB3140245 da Microsoft");
}

// The purposes of the certificate's Extended Key Usage extension as dotted object identifiers;
// none when it has no such extension, an empty list when the extension cannot be read.
std::optional<std::vector<std::string>> UsosEstendidos(const ClienteCrypt32& ACrypt32,
                                                       PCCERT_CONTEXT ACertificado) {
  // The extension only, as on every system; not the purposes a user may restrict in the store.
  constexpr DWORD kSoExtensao = CERT_FIND_EXT_ONLY_ENHKEY_USAGE_FLAG;
  DWORD tamanho = 0;
  if (!ACrypt32.CertGetEnhancedKeyUsage(ACertificado, kSoExtensao, nullptr, &tamanho))
    return GetLastError() == static_cast<DWORD>(CRYPT_E_NOT_FOUND)
               ? std::nullopt
               : std::optional(std::vector<std::string>());
  // Whole pointers, so that the structure at the start of the memory is aligned.
  std::vector<void*> memoria(tamanho / sizeof(void*) + 1);
  auto* usos = reinterpret_cast<CERT_ENHKEY_USAGE*>(memoria.data());
  std::vector<std::string> r;
  if (ACrypt32.CertGetEnhancedKeyUsage(ACertificado, kSoExtensao, usos, &tamanho))
    r.assign(usos->rgpszUsageIdentifier, usos->rgpszUsageIdentifier + usos->cUsageIdentifier);
  return r;
}

// What the choice of a certificate weighs in it (platform/seletor_certificado.h).
CandidatoCertificado Candidato(const ClienteCrypt32& ACrypt32, PCCERT_CONTEXT ACertificado) {
  return {ACrypt32.CertVerifyTimeValidity(nullptr, ACertificado->pCertInfo) == 0,
          UsosEstendidos(ACrypt32, ACertificado)};
}

// The certificate of the current user's personal store that has a private key and whose subject
// contains ATexto (letter case ignored, as the system's subject search does; an empty text
// matches every one), chosen among those in the store's order by EscolherCertificado. None when
// nothing matches.
CertificadoPtr CertificadoPorAssunto(const std::string& ATexto) {
  const ClienteCrypt32& crypt32 = CarregarClienteCrypt32();
  const RepositorioPtr repositorio(
      crypt32.CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, L"MY"));
  if (!repositorio) throw ErroSistemaOperacional(static_cast<int>(GetLastError()));
  const std::wstring texto = ParaUtf16(ATexto);
  const DWORD busca = texto.empty() ? CERT_FIND_ANY : CERT_FIND_SUBJECT_STR_W;
  const void* parametro = texto.empty() ? nullptr : texto.c_str();
  // The matches up to the first preferred one. Each call frees the context it is given and
  // returns the next match, so the ones kept are duplicates.
  std::vector<CertificadoPtr> encontrados;
  std::vector<CandidatoCertificado> candidatos;
  CertificadoPtr atual;
  while (PCCERT_CONTEXT proximo = crypt32.CertFindCertificateInStore(
             repositorio.get(), X509_ASN_ENCODING | PKCS_7_ASN_ENCODING, 0, busca, parametro,
             atual.release())) {
    atual.reset(proximo);
    DWORD tamanho = 0;
    if (!crypt32.CertGetCertificateContextProperty(proximo, CERT_KEY_PROV_INFO_PROP_ID, nullptr,
                                                   &tamanho))
      continue;
    CertificadoPtr copia(crypt32.CertDuplicateCertificateContext(proximo));
    candidatos.push_back(Candidato(crypt32, proximo));
    encontrados.push_back(std::move(copia));
    if (CandidatoPreferido(candidatos.back())) break;
  }
  const auto escolhido = EscolherCertificado(candidatos);
  if (!escolhido) return {};
  return std::move(encontrados[*escolhido]);
}

struct Endereco {
  bool Seguro = false;
  std::wstring Servidor;
  INTERNET_PORT Porta = 0;
  std::wstring Caminho;  // path and query
};

Endereco LerEndereco(const std::string& AUrl) {
  const std::wstring url = ParaUtf16(AUrl);
  URL_COMPONENTS partes{};
  partes.dwStructSize = sizeof partes;
  partes.dwSchemeLength = partes.dwHostNameLength = partes.dwUrlPathLength =
      partes.dwExtraInfoLength = static_cast<DWORD>(-1);
  if (!CarregarClienteWinHttp().WinHttpCrackUrl(url.c_str(), static_cast<DWORD>(url.size()), 0,
                                                &partes))
    FalharWinHttp();
  Endereco r;
  r.Seguro = partes.nScheme == INTERNET_SCHEME_HTTPS;
  r.Servidor.assign(partes.lpszHostName, partes.dwHostNameLength);
  r.Porta = partes.nPort;
  r.Caminho.assign(partes.lpszUrlPath, partes.dwUrlPathLength);
  r.Caminho.append(partes.lpszExtraInfo, partes.dwExtraInfoLength);
  if (r.Caminho.empty()) r.Caminho = L"/";
  return r;
}

int Status(HINTERNET APedido) {
  DWORD status = 0;
  DWORD tamanho = sizeof status;
  if (!CarregarClienteWinHttp().WinHttpQueryHeaders(
          APedido, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
          WINHTTP_HEADER_NAME_BY_INDEX, &status, &tamanho, WINHTTP_NO_HEADER_INDEX))
    FalharWinHttp();
  return static_cast<int>(status);
}

// The value of an answer's header (WINHTTP_QUERY_CONTENT_TYPE, WINHTTP_QUERY_LOCATION …); empty
// when the answer has none.
std::string Cabecalho(HINTERNET APedido, DWORD AInformacao) {
  const ClienteWinHttp& winhttp = CarregarClienteWinHttp();
  DWORD tamanho = 0;
  winhttp.WinHttpQueryHeaders(APedido, AInformacao, WINHTTP_HEADER_NAME_BY_INDEX,
                              WINHTTP_NO_OUTPUT_BUFFER, &tamanho, WINHTTP_NO_HEADER_INDEX);
  if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || tamanho == 0) return {};
  std::wstring valor(tamanho / sizeof(wchar_t) + 1, L'\0');
  if (!winhttp.WinHttpQueryHeaders(APedido, AInformacao, WINHTTP_HEADER_NAME_BY_INDEX, valor.data(),
                                   &tamanho, WINHTTP_NO_HEADER_INDEX))
    return {};
  valor.resize(tamanho / sizeof(wchar_t));
  return DeUtf16(valor);
}

// The answer's body, whole. A connection that ends before the announced length is a broken
// answer, not a shorter one: Wine's WinHTTP reports that end as the end of the body, so the
// length is held to the announcement here, with the code Windows gives for it.
std::string Corpo(HINTERNET APedido) {
  const std::optional<std::uint64_t> anunciado = TamanhoAnunciado(APedido);
  std::string corpo;
  std::vector<char> bloco(1 << 16);
  for (;;) {
    DWORD lidos = 0;
    if (!CarregarClienteWinHttp().WinHttpReadData(APedido, bloco.data(),
                                                  static_cast<DWORD>(bloco.size()), &lidos))
      FalharWinHttp();
    if (lidos == 0) {
      if (anunciado && corpo.size() < *anunciado)
        throw ErroOle(TextoWinHttp(ERROR_WINHTTP_CONNECTION_ERROR));
      return corpo;
    }
    if (lidos > kTamanhoMaximoResposta - corpo.size()) throw ErroOle(kTextoRespostaGrandeDemais);
    corpo.append(bloco.data(), lidos);
  }
}

// A redirect's target made whole against the URL that answered it: a Location may leave out the
// scheme, the server or the folder (RFC 3986's reference forms; dot segments stay as sent).
std::string UrlCompleta(const std::string& ADestino, const std::string& AUrl) {
  if (ADestino.find("://") != std::string::npos) return ADestino;
  const std::size_t fimEsquema = AUrl.find("://");
  if (ADestino.starts_with("//")) return AUrl.substr(0, fimEsquema + 1) + ADestino;
  const std::size_t inicioCaminho = AUrl.find('/', fimEsquema + 3);
  const std::string servidor = AUrl.substr(0, inicioCaminho);
  if (ADestino.starts_with("/")) return servidor + ADestino;
  if (inicioCaminho == std::string::npos) return servidor + "/" + ADestino;
  const std::string caminho =
      AUrl.substr(inicioCaminho, AUrl.find_first_of("?#", inicioCaminho) - inicioCaminho);
  return servidor + caminho.substr(0, caminho.rfind('/') + 1) + ADestino;
}

bool MesmoServidor(const Endereco& A, const Endereco& B) {
  return A.Seguro == B.Seguro && A.Porta == B.Porta &&
         CompareStringOrdinal(A.Servidor.c_str(), -1, B.Servidor.c_str(), -1, TRUE) == CSTR_EQUAL;
}

}  // namespace

RespostaHttp EnviarHttp(const PedidoHttp& APedido) {
  const ClienteWinHttp& winhttp = CarregarClienteWinHttp();
  const Endereco endereco = LerEndereco(APedido.Url);
  CertificadoPtr certificado;
  if (APedido.TextoAssunto) certificado = CertificadoPorAssunto(*APedido.TextoAssunto);

  const InternetPtr sessao =
      Verificado(winhttp.WinHttpOpen(kAgente, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                                     WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
  if (!winhttp.WinHttpSetTimeouts(sessao.get(), kMsResolucao, kMsConexao, kMsEnvio, kMsRecepcao))
    FalharWinHttp();
  ExigirTls12(winhttp, sessao.get());
  const InternetPtr conexao = Verificado(
      winhttp.WinHttpConnect(sessao.get(), endereco.Servidor.c_str(), endereco.Porta, 0));

  // One request on the service's connection, sent and its answer's headers in.
  auto enviar = [&](const std::wstring& ACaminho) {
    InternetPtr pedido = Verificado(winhttp.WinHttpOpenRequest(
        conexao.get(), L"GET", ACaminho.c_str(), nullptr, WINHTTP_NO_REFERER,
        WINHTTP_DEFAULT_ACCEPT_TYPES, endereco.Seguro ? WINHTTP_FLAG_SECURE : 0));
    // The answer's headers within the receive time-out too: Windows gives up on a silent server
    // when one receive waits that long, Wine's WinHTTP only by this option (no limit by default),
    // so a server that never answers would hold the query, and the window, for ever.
    DWORD recepcao = kMsRecepcao;
    if (!winhttp.WinHttpSetOption(pedido.get(), WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &recepcao,
                                  sizeof recepcao))
      FalharWinHttp();
    // Redirects are followed here, not by the engine, which would follow them to any server.
    DWORD semRedirecionar = WINHTTP_DISABLE_REDIRECTS;
    if (!winhttp.WinHttpSetOption(pedido.get(), WINHTTP_OPTION_DISABLE_FEATURE, &semRedirecionar,
                                  sizeof semRedirecionar))
      FalharWinHttp();
    for (const auto& [nome, valor] : APedido.Cabecalhos) {
      const std::wstring linha = ParaUtf16(nome + ": " + valor);
      if (!winhttp.WinHttpAddRequestHeaders(pedido.get(), linha.c_str(), static_cast<DWORD>(-1),
                                            WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_REPLACE))
        FalharWinHttp();
    }
    // The context goes with this request's own TLS connection to the server; a proxy is
    // reached through a plain CONNECT and never sees it. Without one, a server that asks for a
    // certificate makes the send fail with ERROR_WINHTTP_CLIENT_AUTH_CERT_NEEDED, as the
    // request object does.
    if (certificado && endereco.Seguro &&
        !winhttp.WinHttpSetOption(pedido.get(), WINHTTP_OPTION_CLIENT_CERT_CONTEXT,
                                  const_cast<CERT_CONTEXT*>(certificado.get()),
                                  sizeof(CERT_CONTEXT)))
      FalharWinHttp();
    if (!winhttp.WinHttpSendRequest(pedido.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0,
                                    WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
        !winhttp.WinHttpReceiveResponse(pedido.get(), nullptr))
      FalharWinHttp();
    return pedido;
  };

  // A redirect is followed on the same server only: the client certificate and the query belong
  // to the service, and a server that sends them elsewhere gets neither; nor does plain http.
  std::string url = APedido.Url;
  InternetPtr pedido = enviar(endereco.Caminho);
  for (int redirecionamentos = 0;; ++redirecionamentos) {
    const int status = Status(pedido.get());
    const std::string destino =
        status / 100 == 3 ? Cabecalho(pedido.get(), WINHTTP_QUERY_LOCATION) : std::string();
    if (destino.empty()) break;
    const std::string proximo = UrlCompleta(destino, url);
    const Endereco alvo = LerEndereco(proximo);
    // Refused as the engine refuses it, with its code.
    if (endereco.Seguro && !alvo.Seguro) throw ErroOle(TextoWinHttp(ERROR_WINHTTP_REDIRECT_FAILED));
    if (!MesmoServidor(alvo, endereco))
      throw ErroOle("Redirecionamento para outro servidor recusado: " + proximo);
    if (redirecionamentos == kMaximoRedirecionamentos)
      throw ErroOle(TextoWinHttp(ERROR_WINHTTP_REDIRECT_FAILED));
    url = proximo;
    pedido = enviar(alvo.Caminho);
  }
  RespostaHttp r;
  r.Status = Status(pedido.get());
  r.TipoConteudo = Cabecalho(pedido.get(), WINHTTP_QUERY_CONTENT_TYPE);
  r.Corpo = Corpo(pedido.get());
  return r;
}

}  // namespace tolvane
