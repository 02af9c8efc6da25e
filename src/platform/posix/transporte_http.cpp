#include "platform/transporte_http.h"

#include <openssl/crypto.h>
#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <utility>
#include <vector>

#include "core/erro.h"
#include "core/texto.h"
#include "platform/posix/cliente_curl.h"
#include "platform/posix/cliente_openssl.h"
#include "platform/posix/credencial_openssl.h"
#include "platform/requisicao_http.h"

namespace tolvane {

namespace {

struct LiberaCurl {
  decltype(&::curl_easy_cleanup) Liberar;
  void operator()(CURL* A) const { Liberar(A); }
};
struct LiberaLista {
  decltype(&::curl_slist_free_all) Liberar;
  void operator()(curl_slist* A) const { Liberar(A); }
};
struct LiberaUrl {
  decltype(&::curl_url_cleanup) Liberar;
  void operator()(CURLU* A) const { Liberar(A); }
};
using CurlPtr = std::unique_ptr<CURL, LiberaCurl>;
using ListaPtr = std::unique_ptr<curl_slist, LiberaLista>;
using UrlPtr = std::unique_ptr<CURLU, LiberaUrl>;

// The Windows request object's defaults: 60 s to connect, 30 s for each send and receive.
constexpr long kSegundosConexao = 60;
constexpr long kSegundosSemDados = 30;
constexpr long kMaximoRedirecionamentos = 10;

Erro ErroTransporte(const std::string& ATexto) { return ErroOle(ATexto); }

template <typename T>
void Definir(const ClienteCurl& ALib, CURL* ACurl, CURLoption AOpcao, T AValor) {
  const CURLcode rc = ALib.curl_easy_setopt(ACurl, AOpcao, AValor);
  if (rc != CURLE_OK) throw ErroTransporte(ALib.curl_easy_strerror(rc));
}

// True when libcurl knows the system's certification authorities as a hashed folder
// (/etc/ssl/certs on Debian). OpenSSL then reads from it only the certificates a verification
// needs, where the bundle file would be parsed whole at every handshake (some 35 ms).
bool CertificadosDoSistemaPorPasta(const ClienteCurl& ALib) {
  static const bool porPasta = [&] {
    const curl_version_info_data* versao = ALib.curl_version_info(CURLVERSION_NOW);
    std::error_code ec;
    return versao->capath && std::filesystem::is_directory(versao->capath, ec);
  }();
  return porPasta;
}

// PEM text that holds a private key: wiped before its memory is given back.
class TextoSigiloso {
 public:
  TextoSigiloso() = default;
  ~TextoSigiloso() {
    // Only OpenSSL writes a key here, so a text that holds one has it loaded.
    if (!FTexto.empty()) OpenSsl().OPENSSL_cleanse(FTexto.data(), FTexto.size());
  }
  TextoSigiloso(const TextoSigiloso&) = delete;
  TextoSigiloso& operator=(const TextoSigiloso&) = delete;
  std::string& Texto() { return FTexto; }

 private:
  std::string FTexto;
};

struct LiberaBio {
  void operator()(BIO* A) const { OpenSsl().BIO_free(A); }
};

// The credential as the PEM texts libcurl takes: the certificate followed by its chain, and the
// key (unencrypted).
void CredencialEmPem(const CredencialCliente& ACredencial, std::string& ACertificado,
                     TextoSigiloso& AChave) {
  auto escrever = [](auto AGravar, std::string& ADestino) {
    std::unique_ptr<BIO, LiberaBio> bio(OpenSsl().BIO_new(OpenSsl().BIO_s_secmem()));
    if (!bio || !AGravar(bio.get())) throw ErroTransporte("unable to use client certificate");
    char* dados = nullptr;
    const long tamanho =
        OpenSsl().BIO_ctrl(bio.get(), BIO_CTRL_INFO, 0, reinterpret_cast<char*>(&dados));
    ADestino.assign(dados, static_cast<std::size_t>(tamanho));
  };
  escrever(
      [&](BIO* ABio) {
        if (OpenSsl().PEM_write_bio_X509(ABio, ACredencial.Certificado.get()) != 1) return false;
        const int total = ACredencial.Cadeia ? OpenSsl().Total(ACredencial.Cadeia.get()) : 0;
        for (int i = 0; i < total; ++i)
          if (OpenSsl().PEM_write_bio_X509(
                  ABio, OpenSsl().Elemento<X509>(ACredencial.Cadeia.get(), i)) != 1)
            return false;
        return true;
      },
      ACertificado);
  escrever(
      [&](BIO* ABio) {
        return OpenSsl().PEM_write_bio_PrivateKey(ABio, ACredencial.Chave.get(), nullptr, nullptr,
                                                  0, nullptr, nullptr) == 1;
      },
      AChave.Texto());
}

// What the libcurl and OpenSSL callbacks work with. They never throw: a failure is written to
// Falha and reported by the return value.
struct Transferencia {
  std::string Corpo;
  std::string CaExtra;
  bool ComCertificado = false;
  std::string Falha;
};

// OpenSSL calls this when a peer asks for a client certificate. The service's connection carries
// the chosen certificate already (libcurl set it), so a connection without one is the service
// when no certificate was chosen, or else an HTTPS proxy, which gets none. Like the Windows
// request object, the request then does not go out to a service that asked in vain.
int PedidoCertificado(SSL* ASsl, void* AUsuario) noexcept {
  auto* t = static_cast<Transferencia*>(AUsuario);
  if (OpenSslTls().SSL_get_certificate(ASsl) || t->ComCertificado) return 1;
  t->Falha = kTextoCertificadoNecessario;
  return 0;
}

// Scheme and origin ("https://host:port", the host in lower case) of an address as libcurl reads
// it; empty texts when it cannot be read.
struct Origem {
  std::string Esquema;
  std::string Endereco;
};
Origem OrigemDe(const ClienteCurl& ALib, const std::string& AUrl) {
  UrlPtr url(ALib.curl_url(), LiberaUrl{ALib.curl_url_cleanup});
  if (!url || ALib.curl_url_set(url.get(), CURLUPART_URL, AUrl.c_str(), 0) != CURLUE_OK) return {};
  auto parte = [&](CURLUPart AParte, unsigned AOpcoes) {
    char* valor = nullptr;
    if (ALib.curl_url_get(url.get(), AParte, &valor, AOpcoes) != CURLUE_OK) return std::string();
    std::string r(valor);
    ALib.curl_free(valor);
    return r;
  };
  Origem r{parte(CURLUPART_SCHEME, 0), parte(CURLUPART_HOST, 0)};
  r.Endereco = r.Esquema + "://" + MinusculasAscii(r.Endereco) + ":" +
               parte(CURLUPART_PORT, CURLU_DEFAULT_PORT);
  return r;
}

size_t ReceberCorpo(char* ADados, size_t ATamanho, size_t AQuantidade, void* AUsuario) noexcept {
  auto* t = static_cast<Transferencia*>(AUsuario);
  const size_t n = ATamanho * AQuantidade;
  // An answer whose size was not announced is bounded here, as it arrives.
  if (n > kTamanhoMaximoResposta - t->Corpo.size()) {
    t->Falha = kTextoRespostaGrandeDemais;
    return 0;
  }
  try {
    t->Corpo.append(ADados, n);
    return n;
  } catch (...) {
    t->Falha = "Memória insuficiente para a resposta do servidor";
    return 0;
  }
}

// Runs after libcurl has loaded the system's certification authorities into the context, for
// every TLS connection of the transfer: the service's and an HTTPS proxy's alike. The client
// certificate is therefore never set here but given to libcurl's own options, which it applies
// to the service's connection only.
CURLcode PrepararTls(CURL*, void* AContexto, void* AUsuario) noexcept {
  auto* t = static_cast<Transferencia*>(AUsuario);
  auto* contexto = static_cast<SSL_CTX*>(AContexto);
  try {
    if (!t->CaExtra.empty() &&
        OpenSsl().X509_STORE_load_file(OpenSslTls().SSL_CTX_get_cert_store(contexto),
                                       t->CaExtra.c_str()) != 1) {
      OpenSsl().ERR_clear_error();
      t->Falha = "error setting certificate file: " + t->CaExtra;
      return CURLE_SSL_CACERT_BADFILE;
    }
    OpenSslTls().SSL_CTX_set_cert_cb(contexto, PedidoCertificado, t);
    return CURLE_OK;
  } catch (...) {
    t->Falha = "unable to set up TLS";
    return CURLE_ABORTED_BY_CALLBACK;
  }
}

}  // namespace

RespostaHttp EnviarHttp(const PedidoHttp& APedido) {
  const ClienteCurl& lib = CarregarClienteCurl();
  // Loaded before the transfer, whose callbacks must not fail to find them.
  OpenSsl();
  OpenSslTls();

  Transferencia t;
  std::optional<CredencialCliente> credencial;
  std::string certificadoPem;
  TextoSigiloso chavePem;
  if (APedido.TextoAssunto) {
    credencial = CredencialPorAssunto(*APedido.TextoAssunto);
    if (credencial) CredencialEmPem(*credencial, certificadoPem, chavePem);
    t.ComCertificado = credencial.has_value();
  }
  if (const char* ca = std::getenv("TOLVANE_CLASSTRIB_CA"); ca && *ca) t.CaExtra = ca;

  ListaPtr cabecalhos(nullptr, LiberaLista{lib.curl_slist_free_all});
  for (const auto& [nome, valor] : APedido.Cabecalhos) {
    curl_slist* lista = lib.curl_slist_append(cabecalhos.get(), (nome + ": " + valor).c_str());
    if (!lista) throw ErroTransporte("Memória insuficiente para a requisição");
    (void)cabecalhos.release();
    cabecalhos.reset(lista);
  }

  CurlPtr curl(lib.curl_easy_init(), LiberaCurl{lib.curl_easy_cleanup});
  if (!curl) throw ErroTransporte("Não foi possível iniciar a requisição HTTP");
  char textoErro[CURL_ERROR_SIZE] = {};
  CURL* c = curl.get();
  Definir(lib, c, CURLOPT_ERRORBUFFER, textoErro);
  Definir(lib, c, CURLOPT_HTTPGET, 1L);
  Definir(lib, c, CURLOPT_PROTOCOLS_STR, "https");
  // Redirects are followed below, not by libcurl, so that they never leave the service's host.
  Definir(lib, c, CURLOPT_FOLLOWLOCATION, 0L);
  Definir(lib, c, CURLOPT_SSLVERSION, static_cast<long>(CURL_SSLVERSION_TLSv1_2));
  Definir(lib, c, CURLOPT_SSL_VERIFYPEER, 1L);
  Definir(lib, c, CURLOPT_SSL_VERIFYHOST, 2L);
  if (CertificadosDoSistemaPorPasta(lib))
    Definir(lib, c, CURLOPT_CAINFO, static_cast<char*>(nullptr));
  Definir(lib, c, CURLOPT_CONNECTTIMEOUT, kSegundosConexao);
  Definir(lib, c, CURLOPT_LOW_SPEED_LIMIT, 1L);
  Definir(lib, c, CURLOPT_LOW_SPEED_TIME, kSegundosSemDados);
  Definir(lib, c, CURLOPT_NOSIGNAL, 1L);
  Definir(lib, c, CURLOPT_HTTPHEADER, cabecalhos.get());
  // An announced size beyond the limit fails before the body is read.
  Definir(lib, c, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(kTamanhoMaximoResposta));
  Definir(lib, c, CURLOPT_WRITEFUNCTION, ReceberCorpo);
  Definir(lib, c, CURLOPT_WRITEDATA, &t);
  Definir(lib, c, CURLOPT_SSL_CTX_FUNCTION, PrepararTls);
  Definir(lib, c, CURLOPT_SSL_CTX_DATA, &t);
  // The texts outlive the handle, so libcurl need not keep copies of the key.
  curl_blob certificadoBlob{certificadoPem.data(), certificadoPem.size(), CURL_BLOB_NOCOPY};
  curl_blob chaveBlob{chavePem.Texto().data(), chavePem.Texto().size(), CURL_BLOB_NOCOPY};
  if (credencial) {
    Definir(lib, c, CURLOPT_SSLCERT_BLOB, &certificadoBlob);
    Definir(lib, c, CURLOPT_SSLKEY_BLOB, &chaveBlob);
  }

  // A redirect is followed on the same host only: the client certificate and the query belong
  // to the service, and a server that sends them elsewhere (or to plain http) gets neither.
  std::string url = APedido.Url;
  for (long redirecionamentos = 0;; ++redirecionamentos) {
    Definir(lib, c, CURLOPT_URL, url.c_str());
    t.Corpo.clear();
    const CURLcode rc = lib.curl_easy_perform(c);
    if (rc != CURLE_OK) {
      std::string texto = !t.Falha.empty()                ? t.Falha
                          : rc == CURLE_FILESIZE_EXCEEDED ? std::string(kTextoRespostaGrandeDemais)
                          : textoErro[0] != 0             ? std::string(textoErro)
                                                          : std::string(lib.curl_easy_strerror(rc));
      throw ErroTransporte(TextoSistemaAparado(texto));
    }
    long status = 0;
    lib.curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
    char* destino = nullptr;
    lib.curl_easy_getinfo(c, CURLINFO_REDIRECT_URL, &destino);
    if (!destino || status / 100 != 3) {
      char* tipo = nullptr;
      lib.curl_easy_getinfo(c, CURLINFO_CONTENT_TYPE, &tipo);
      return RespostaHttp{static_cast<int>(status), std::move(t.Corpo), tipo ? tipo : ""};
    }
    if (redirecionamentos == kMaximoRedirecionamentos)
      throw ErroTransporte("Maximum (" + std::to_string(kMaximoRedirecionamentos) +
                           ") redirects followed");
    const std::string proximo = destino;
    const Origem origem = OrigemDe(lib, proximo);
    if (origem.Esquema != "https")
      throw ErroTransporte("Protocol \"" + origem.Esquema +
                           "\" not supported or disabled in libcurl");
    if (origem.Endereco != OrigemDe(lib, url).Endereco)
      throw ErroTransporte("Redirecionamento para outro servidor recusado: " + proximo);
    url = proximo;
  }
}

}  // namespace tolvane
