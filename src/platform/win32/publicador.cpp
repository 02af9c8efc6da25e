#include "platform/publicador.h"

#include <cstdio>
#include <memory>

#include "core/erro.h"
#include "platform/arquivos.h"
#include "platform/erro_sistema.h"
#include "platform/win32/cliente_crypt32.h"
#include "platform/win32/cliente_wintrust.h"

// After windows.h, which the clients include.
#include <softpub.h>

namespace tolvane {

namespace {

constexpr DWORD kCodificacao = X509_ASN_ENCODING | PKCS_7_ASN_ENCODING;

// What WinVerifyTrust says of one file: its result, and the signer's certificate (DER) when the
// signature is valid. The certificate is copied out, since it lives only as long as the check's
// state.
struct Conferencia {
  LONG Codigo = 0;
  std::string Assinante;
};

// The check's state data, released (WTD_STATEACTION_CLOSE) however the reading ends.
class EstadoConferencia {
 public:
  EstadoConferencia(const ClienteWintrust& AWintrust, WINTRUST_DATA& ADados)
      : FWintrust(AWintrust), FDados(ADados) {}
  ~EstadoConferencia() {
    FDados.dwStateAction = WTD_STATEACTION_CLOSE;
    GUID acao = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    FWintrust.WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &acao, &FDados);
  }
  EstadoConferencia(const EstadoConferencia&) = delete;
  EstadoConferencia& operator=(const EstadoConferencia&) = delete;

 private:
  const ClienteWintrust& FWintrust;
  WINTRUST_DATA& FDados;
};

// Authenticode, no user interface, and nothing fetched over the network: no revocation look-up,
// URLs from the cache only. A start that finds a new version must not wait on a server abroad,
// and the publisher's key, not the chain's current state, is what the update is matched against.
Conferencia Conferir(const std::string& AArquivo) {
  const ClienteWintrust& w = CarregarClienteWintrust();
  const std::wstring caminho = ParaUtf16(AArquivo);
  WINTRUST_FILE_INFO arquivo{};
  arquivo.cbStruct = sizeof(arquivo);
  arquivo.pcwszFilePath = caminho.c_str();
  WINTRUST_DATA dados{};
  dados.cbStruct = sizeof(dados);
  dados.dwUIChoice = WTD_UI_NONE;
  dados.fdwRevocationChecks = WTD_REVOKE_NONE;
  dados.dwUnionChoice = WTD_CHOICE_FILE;
  dados.pFile = &arquivo;
  dados.dwStateAction = WTD_STATEACTION_VERIFY;
  dados.dwProvFlags = WTD_CACHE_ONLY_URL_RETRIEVAL | WTD_REVOCATION_CHECK_NONE;
  GUID acao = WINTRUST_ACTION_GENERIC_VERIFY_V2;

  Conferencia r;
  r.Codigo = w.WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &acao, &dados);
  const EstadoConferencia estado(w, dados);
  if (r.Codigo != 0) return r;
  CRYPT_PROVIDER_DATA* provedor = w.WTHelperProvDataFromStateData(dados.hWVTStateData);
  CRYPT_PROVIDER_SGNR* assinante =
      provedor ? w.WTHelperGetProvSignerFromChain(provedor, 0, FALSE, 0) : nullptr;
  if (assinante && assinante->csCertChain > 0 && assinante->pasCertChain[0].pCert) {
    const CERT_CONTEXT* c = assinante->pasCertChain[0].pCert;
    r.Assinante.assign(reinterpret_cast<const char*>(c->pbCertEncoded), c->cbCertEncoded);
  } else {
    r.Codigo = TRUST_E_NOSIGNATURE;
  }
  return r;
}

CertificadoPtr Certificado(const std::string& ADer) {
  CertificadoPtr r(CarregarClienteCrypt32().CertCreateCertificateContext(
      kCodificacao, reinterpret_cast<const BYTE*>(ADer.data()), static_cast<DWORD>(ADer.size())));
  if (!r) throw ErroSistemaComMensagem("O certificado do assinante não pôde ser lido.");
  return r;
}

std::string NomeCertificado(const CERT_CONTEXT* ACertificado) {
  const ClienteCrypt32& c = CarregarClienteCrypt32();
  const DWORD n =
      c.CertGetNameStringW(ACertificado, CERT_NAME_SIMPLE_DISPLAY_TYPE, 0, nullptr, nullptr, 0);
  std::wstring nome(n, L'\0');
  c.CertGetNameStringW(ACertificado, CERT_NAME_SIMPLE_DISPLAY_TYPE, 0, nullptr, nome.data(), n);
  while (!nome.empty() && nome.back() == L'\0') nome.pop_back();
  return nome.empty() ? "(assinante sem nome)" : DeUtf16(nome);
}

std::string Hex(LONG ACodigo) {
  char texto[16];
  std::snprintf(texto, sizeof(texto), "0x%08lX", static_cast<unsigned long>(ACodigo));
  return texto;
}

// Whether the running image has a certificate table at all. Without one it is unsigned, and an
// unsigned program updates as it always did, without even loading wintrust.dll (a few hundred
// milliseconds under Wine at a start that finds a new version).
bool TemTabelaCertificados() {
  const auto* base = reinterpret_cast<const BYTE*>(GetModuleHandleW(nullptr));
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  return nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_SECURITY].Size != 0;
}

}  // namespace

std::optional<Publicador> Publicador::DoProgramaAtual() {
  if (!TemTabelaCertificados()) return std::nullopt;
  const std::string caminho = CaminhoExecutavel();
  if (caminho.empty()) throw ErroSistemaOperacional(static_cast<int>(GetLastError()));
  Conferencia c = Conferir(caminho);
  if (c.Codigo != 0) return std::nullopt;
  std::string nome = NomeCertificado(Certificado(c.Assinante).get());
  return Publicador(std::move(nome), std::move(c.Assinante));
}

Publicador Publicador::DeChavePem(const std::string&) {
  throw ErroNaoDisponivel("Chave de publicação Ed25519");
}

std::string Publicador::Verificar(const std::string& AArquivo, const std::string& AOrigem) const {
  const Conferencia c = Conferir(AArquivo);
  switch (c.Codigo) {
    case 0:
      break;
    case TRUST_E_NOSIGNATURE:
    case TRUST_E_SUBJECT_FORM_UNKNOWN:
    case TRUST_E_PROVIDER_UNKNOWN:
      return "O arquivo " + AOrigem + " não tem a assinatura digital de " + FNome + ".";
    case TRUST_E_BAD_DIGEST:
      return "O arquivo " + AOrigem +
             " foi alterado depois de assinado: a assinatura digital não "
             "confere com o conteúdo.";
    default: {
      const std::string texto = TextoErroSistema(static_cast<int>(c.Codigo));
      return "A assinatura digital do arquivo " + AOrigem + " não é válida (" +
             (texto.empty() ? "" : texto + ", ") + "código " + Hex(c.Codigo) + ").";
    }
  }
  const CertificadoPtr meu = Certificado(FChave);
  const CertificadoPtr dele = Certificado(c.Assinante);
  if (!CarregarClienteCrypt32().CertComparePublicKeyInfo(kCodificacao,
                                                         &meu->pCertInfo->SubjectPublicKeyInfo,
                                                         &dele->pCertInfo->SubjectPublicKeyInfo))
    return "O arquivo " + AOrigem + " foi assinado por " + NomeCertificado(dele.get()) +
           ", não por " + FNome + ".";
  return {};
}

}  // namespace tolvane
