#include "platform/certificados.h"

#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/pkcs12.h>
#include <openssl/provider.h>
#include <openssl/x509v3.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>
#include <vector>

#include "core/caminho.h"
#include "core/erro.h"
#include "core/texto.h"
#include "core/utf8.h"
#include "platform/erro_sistema.h"
#include "platform/posix/cliente_openssl.h"
#include "platform/posix/credencial_openssl.h"
#include "platform/seletor_certificado.h"

namespace tolvane {

namespace {

namespace fs = std::filesystem;

struct LiberaBio {
  void operator()(BIO* A) const { OpenSsl().BIO_free(A); }
};
struct LiberaPkcs12 {
  void operator()(PKCS12* A) const { OpenSsl().PKCS12_free(A); }
};
struct LiberaNomesAlternativos {
  void operator()(GENERAL_NAMES* A) const { OpenSsl().GENERAL_NAMES_free(A); }
};
struct LiberaUsosEstendidos {
  void operator()(EXTENDED_KEY_USAGE* A) const { OpenSsl().EXTENDED_KEY_USAGE_free(A); }
};
using BioPtr = std::unique_ptr<BIO, LiberaBio>;
using Pkcs12Ptr = std::unique_ptr<PKCS12, LiberaPkcs12>;
using NomesAlternativosPtr = std::unique_ptr<GENERAL_NAMES, LiberaNomesAlternativos>;
using UsosEstendidosPtr = std::unique_ptr<EXTENDED_KEY_USAGE, LiberaUsosEstendidos>;

// A certificate file is a few kilobytes; anything much larger is not one.
constexpr std::uintmax_t kTamanhoMaximoArquivo = std::uintmax_t{1024} * 1024;

fs::path PastaRepositorio() {
  fs::path base;
  const char* dados = std::getenv("XDG_DATA_HOME");
  if (dados && *dados && fs::path(dados).is_absolute()) {
    base = dados;
  } else {
    const char* casa = std::getenv("HOME");
    std::string pasta = casa ? casa : "";
    if (pasta.empty())
      if (const passwd* usuario = getpwuid(getuid())) pasta = usuario->pw_dir;
    base = fs::path(pasta) / ".local" / "share";
  }
  return base / "tolvane" / "certificados";
}

enum class Formato { Nenhum, Pkcs12, Pem };

Formato FormatoArquivo(const fs::path& AArquivo) {
  const std::string extensao = MinusculasAscii(TextoDe(AArquivo.extension()));
  if (extensao == ".pfx" || extensao == ".p12") return Formato::Pkcs12;
  if (extensao == ".pem" || extensao == ".crt" || extensao == ".cer") return Formato::Pem;
  return Formato::Nenhum;
}

// The store's files in file-name order. A missing folder is an empty store; it is made then,
// for the user alone (it will hold private keys without a password), so that certificates have
// their place. A folder that cannot be made is only an empty store.
std::vector<fs::path> ArquivosRepositorio() {
  const fs::path pasta = PastaRepositorio();
  std::error_code ec;
  fs::directory_iterator item(pasta, ec);
  if (ec == std::errc::no_such_file_or_directory) {
    fs::create_directories(pasta.parent_path(), ec);
    if (::mkdir(pasta.c_str(), 0700) == 0) ::chmod(pasta.c_str(), 0700);  // whatever the umask
    return {};
  }
  if (ec) throw ErroSistemaOperacional(ec.value());
  std::vector<fs::path> arquivos;
  for (; item != fs::directory_iterator(); item.increment(ec)) {
    if (ec) throw ErroSistemaOperacional(ec.value());
    std::error_code ecTipo;
    if (FormatoArquivo(item->path()) != Formato::Nenhum && item->is_regular_file(ecTipo))
      arquivos.push_back(item->path());
  }
  if (ec) throw ErroSistemaOperacional(ec.value());
  std::sort(arquivos.begin(), arquivos.end(), [](const fs::path& A, const fs::path& B) {
    return TextoDe(A.filename()) < TextoDe(B.filename());
  });
  return arquivos;
}

std::optional<std::string> LerBytes(const fs::path& AArquivo) {
  std::error_code ec;
  const auto tamanho = fs::file_size(AArquivo, ec);
  if (ec || tamanho > kTamanhoMaximoArquivo) return std::nullopt;
  std::ifstream entrada(AArquivo, std::ios::binary);
  if (!entrada) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(entrada)), std::istreambuf_iterator<char>());
  if (entrada.bad()) return std::nullopt;
  return bytes;
}

// Keys in the store carry no password: an encrypted PEM key is never asked for on a terminal.
int SemSenha(char*, int, int, void*) { return 0; }

struct Entrada {
  X509Ptr Certificado;
  ChavePtr Chave;
  CadeiaPtr Cadeia;
};

// Moves AOutros into a chain (none when empty).
CadeiaPtr MontarCadeia(std::vector<X509Ptr>& AOutros) {
  if (AOutros.empty()) return nullptr;
  CadeiaPtr cadeia(reinterpret_cast<STACK_OF(X509)*>(OpenSsl().OPENSSL_sk_new_null()));
  if (!cadeia) return nullptr;
  for (auto& c : AOutros)
    if (OpenSsl().OPENSSL_sk_push(reinterpret_cast<OPENSSL_STACK*>(cadeia.get()), c.get()) > 0)
      (void)c.release();  // the stack owns it now
  return cadeia;
}

// Files exported with the old RC2/RC4 algorithms need OpenSSL's legacy provider, loaded only
// when a file needs it. False when it is not installed.
bool CarregarProvedorLegado() {
  static OSSL_PROVIDER* const legado = OpenSsl().OSSL_PROVIDER_try_load(nullptr, "legacy", 1);
  return legado != nullptr;
}

std::optional<Entrada> LerPkcs12(const std::string& ABytes) {
  BioPtr bio(OpenSsl().BIO_new_mem_buf(ABytes.data(), static_cast<int>(ABytes.size())));
  if (!bio) return std::nullopt;
  Pkcs12Ptr pacote(OpenSsl().d2i_PKCS12_bio(bio.get(), nullptr));
  if (!pacote) return std::nullopt;
  EVP_PKEY* chave = nullptr;
  X509* certificado = nullptr;
  STACK_OF(X509)* outros = nullptr;
  // An empty password also opens files made with no password at all.
  bool aberto = OpenSsl().PKCS12_parse(pacote.get(), "", &chave, &certificado, &outros) == 1;
  if (!aberto && CarregarProvedorLegado())
    aberto = OpenSsl().PKCS12_parse(pacote.get(), "", &chave, &certificado, &outros) == 1;
  if (!aberto) return std::nullopt;
  Entrada e{X509Ptr(certificado), ChavePtr(chave), CadeiaPtr(outros)};
  if (!e.Certificado && e.Cadeia && OpenSsl().Total(e.Cadeia.get()) > 0)
    e.Certificado.reset(static_cast<X509*>(
        OpenSsl().OPENSSL_sk_shift(reinterpret_cast<OPENSSL_STACK*>(e.Cadeia.get()))));
  if (!e.Certificado) return std::nullopt;
  return e;
}

std::optional<Entrada> LerPem(const std::string& ABytes) {
  std::vector<X509Ptr> certificados;
  {
    BioPtr bio(OpenSsl().BIO_new_mem_buf(ABytes.data(), static_cast<int>(ABytes.size())));
    if (!bio) return std::nullopt;
    while (X509* c = OpenSsl().PEM_read_bio_X509(bio.get(), nullptr, SemSenha, nullptr))
      certificados.emplace_back(c);
  }
  if (certificados.empty()) {
    // ".crt" and ".cer" files often hold the certificate in DER.
    const auto* p = reinterpret_cast<const unsigned char*>(ABytes.data());
    X509* c = OpenSsl().d2i_X509(nullptr, &p, static_cast<long>(ABytes.size()));
    if (!c) return std::nullopt;
    certificados.emplace_back(c);
  }
  ChavePtr chave;
  {
    BioPtr bio(OpenSsl().BIO_new_mem_buf(ABytes.data(), static_cast<int>(ABytes.size())));
    if (bio) chave.reset(OpenSsl().PEM_read_bio_PrivateKey(bio.get(), nullptr, SemSenha, nullptr));
  }
  std::size_t escolhido = 0;
  if (chave) {
    auto par = std::find_if(certificados.begin(), certificados.end(), [&](const X509Ptr& c) {
      return OpenSsl().X509_check_private_key(c.get(), chave.get()) == 1;
    });
    if (par == certificados.end())
      chave.reset();
    else
      escolhido = static_cast<std::size_t>(par - certificados.begin());
  }
  Entrada e{std::move(certificados[escolhido]), std::move(chave), nullptr};
  certificados.erase(certificados.begin() + static_cast<std::ptrdiff_t>(escolhido));
  e.Cadeia = MontarCadeia(certificados);
  return e;
}

// The certificate bags of a PKCS#12 file and the localKeyID of its first key bag, read without
// decrypting the key and without checking the MAC: listing a name needs neither, and both cost
// a key derivation each.
struct LiberaPkcs7s {
  void operator()(STACK_OF(PKCS7) * A) const { OpenSsl().LiberarPilha(A, OpenSsl().PKCS7_free); }
};
struct LiberaBolsas {
  void operator()(STACK_OF(PKCS12_SAFEBAG) * A) const {
    OpenSsl().LiberarPilha(A, OpenSsl().PKCS12_SAFEBAG_free);
  }
};
using Pkcs7sPtr = std::unique_ptr<STACK_OF(PKCS7), LiberaPkcs7s>;
using BolsasPtr = std::unique_ptr<STACK_OF(PKCS12_SAFEBAG), LiberaBolsas>;

struct BolsasPkcs12 {
  std::vector<std::pair<X509Ptr, std::string>> Certificados;  // with their localKeyID
  bool TemChave = false;
  std::string IdChave;
  bool SenhaConfirmada = false;  // an encrypted part opened: the password is the empty one
};

std::string IdLocal(const PKCS12_SAFEBAG* ABolsa) {
  const ASN1_TYPE* id = OpenSsl().PKCS12_SAFEBAG_get0_attr(ABolsa, NID_localKeyID);
  if (!id || id->type != V_ASN1_OCTET_STRING) return {};
  const ASN1_OCTET_STRING* octetos = id->value.octet_string;
  return std::string(reinterpret_cast<const char*>(OpenSsl().ASN1_STRING_get0_data(octetos)),
                     static_cast<std::size_t>(OpenSsl().ASN1_STRING_length(octetos)));
}

void LerBolsas(const STACK_OF(PKCS12_SAFEBAG) * ABolsas, BolsasPkcs12& AResultado) {
  for (int i = 0; i < OpenSsl().Total(ABolsas); ++i) {
    const auto* bolsa = OpenSsl().Elemento<const PKCS12_SAFEBAG>(ABolsas, i);
    switch (OpenSsl().PKCS12_SAFEBAG_get_nid(bolsa)) {
      case NID_keyBag:
      case NID_pkcs8ShroudedKeyBag:
        // As PKCS12_parse does, the first key is the file's key.
        if (!AResultado.TemChave) {
          AResultado.TemChave = true;
          AResultado.IdChave = IdLocal(bolsa);
        }
        break;
      case NID_certBag:
        if (OpenSsl().PKCS12_SAFEBAG_get_bag_nid(bolsa) == NID_x509Certificate)
          if (X509* c = OpenSsl().PKCS12_SAFEBAG_get1_cert(bolsa))
            AResultado.Certificados.emplace_back(X509Ptr(c), IdLocal(bolsa));
        break;
      case NID_safeContentsBag:
        LerBolsas(OpenSsl().PKCS12_SAFEBAG_get0_safes(bolsa), AResultado);
        break;
      default:
        break;
    }
  }
}

// An encrypted part opened with no password or the empty one (PKCS12_parse's two tries). A
// wrong password fails the padding or the decoding of what comes out.
BolsasPtr AbrirParteCifrada(PKCS7* AParte) {
  for (const char* senha : {static_cast<const char*>(nullptr), ""})
    if (BolsasPtr bolsas{OpenSsl().PKCS12_unpack_p7encdata(AParte, senha, -1)}) return bolsas;
  return nullptr;
}

std::optional<BolsasPkcs12> LerBolsasPkcs12(PKCS12* APacote) {
  const Pkcs7sPtr partes(OpenSsl().PKCS12_unpack_authsafes(APacote));
  if (!partes) return std::nullopt;
  BolsasPkcs12 r;
  for (int i = 0; i < OpenSsl().Total(partes.get()); ++i) {
    auto* parte = OpenSsl().Elemento<PKCS7>(partes.get(), i);
    BolsasPtr bolsas;
    switch (OpenSsl().OBJ_obj2nid(parte->type)) {
      case NID_pkcs7_data:
        bolsas.reset(OpenSsl().PKCS12_unpack_p7data(parte));
        break;
      case NID_pkcs7_encrypted:
        bolsas = AbrirParteCifrada(parte);
        if (!bolsas && CarregarProvedorLegado()) bolsas = AbrirParteCifrada(parte);
        if (!bolsas) return std::nullopt;  // a password we do not have
        r.SenhaConfirmada = true;
        break;
      default:
        continue;
    }
    if (!bolsas) return std::nullopt;
    LerBolsas(bolsas.get(), r);
  }
  return r;
}

// The certificate PKCS12_parse would give (LerPkcs12): the one whose localKeyID is the key's,
// else the only one, else the first when there is no key. Only a file where the identifiers do
// not tell (no identifier, none matching, several certificates) is parsed whole.
std::optional<X509Ptr> CertificadoPkcs12(const std::string& ABytes) {
  BioPtr bio(OpenSsl().BIO_new_mem_buf(ABytes.data(), static_cast<int>(ABytes.size())));
  if (!bio) return std::nullopt;
  Pkcs12Ptr pacote(OpenSsl().d2i_PKCS12_bio(bio.get(), nullptr));
  if (!pacote) return std::nullopt;
  auto bolsas = LerBolsasPkcs12(pacote.get());
  if (!bolsas || bolsas->Certificados.empty()) return std::nullopt;
  // With nothing encrypted, only the MAC tells whether the password is the empty one: a file
  // with another password is not listed.
  if (!bolsas->SenhaConfirmada && OpenSsl().PKCS12_mac_present(pacote.get()) &&
      OpenSsl().PKCS12_verify_mac(pacote.get(), nullptr, 0) != 1 &&
      OpenSsl().PKCS12_verify_mac(pacote.get(), "", 0) != 1)
    return std::nullopt;
  auto& certificados = bolsas->Certificados;
  if (bolsas->TemChave && !bolsas->IdChave.empty())
    for (auto& [certificado, id] : certificados)
      if (id == bolsas->IdChave) return std::move(certificado);
  if (!bolsas->TemChave || certificados.size() == 1) return std::move(certificados.front().first);
  auto e = LerPkcs12(ABytes);
  if (!e) return std::nullopt;
  return std::move(e->Certificado);
}

// The certificate LerPem would choose; the key is read only when there are several to choose
// from.
std::optional<X509Ptr> CertificadoPem(const std::string& ABytes) {
  BioPtr bio(OpenSsl().BIO_new_mem_buf(ABytes.data(), static_cast<int>(ABytes.size())));
  if (!bio) return std::nullopt;
  X509Ptr primeiro(OpenSsl().PEM_read_bio_X509(bio.get(), nullptr, SemSenha, nullptr));
  if (primeiro && !X509Ptr(OpenSsl().PEM_read_bio_X509(bio.get(), nullptr, SemSenha, nullptr)))
    return primeiro;
  auto e = LerPem(ABytes);
  if (!e) return std::nullopt;
  return std::move(e->Certificado);
}

// The certificate a file of the store is listed by; no value when it cannot be read or holds
// no certificate.
std::optional<X509Ptr> CertificadoDoArquivo(const fs::path& AArquivo) {
  const auto bytes = LerBytes(AArquivo);
  if (!bytes) return std::nullopt;
  auto c = FormatoArquivo(AArquivo) == Formato::Pkcs12 ? CertificadoPkcs12(*bytes)
                                                       : CertificadoPem(*bytes);
  OpenSsl().ERR_clear_error();
  return c;
}

// One file of the store; no value when it cannot be read or holds no certificate.
std::optional<Entrada> LerArquivo(const fs::path& AArquivo) {
  const auto bytes = LerBytes(AArquivo);
  if (!bytes) return std::nullopt;
  auto e = FormatoArquivo(AArquivo) == Formato::Pkcs12 ? LerPkcs12(*bytes) : LerPem(*bytes);
  // Failed parses leave errors in the thread's OpenSSL queue, where libcurl would read them.
  OpenSsl().ERR_clear_error();
  return e;
}

std::string TextoAsn1(const ASN1_STRING* AValor) {
  if (!AValor) return {};
  if (OpenSsl().ASN1_STRING_type(AValor) == V_ASN1_T61STRING) {
    // Like CryptoAPI, a T61String is read as UTF-8 when it is valid UTF-8, else as Latin-1.
    std::string bruto(reinterpret_cast<const char*>(OpenSsl().ASN1_STRING_get0_data(AValor)),
                      static_cast<std::size_t>(OpenSsl().ASN1_STRING_length(AValor)));
    if (EhUtf8Valido(bruto)) return bruto;
  }
  unsigned char* utf8 = nullptr;
  const int tamanho = OpenSsl().ASN1_STRING_to_UTF8(&utf8, AValor);
  if (tamanho < 0) return {};
  std::string r(reinterpret_cast<const char*>(utf8), static_cast<std::size_t>(tamanho));
  OpenSsl().CRYPTO_free(utf8, OPENSSL_FILE, OPENSSL_LINE);
  return r;
}

std::optional<std::string> Atributo(const X509_NAME* ANome, int ANid) {
  const int i = OpenSsl().X509_NAME_get_index_by_NID(ANome, ANid, -1);
  if (i < 0) return std::nullopt;
  return TextoAsn1(OpenSsl().X509_NAME_ENTRY_get_data(OpenSsl().X509_NAME_get_entry(ANome, i)));
}

// The subject as CryptoAPI's simple name string: the values in their order, ", " between
// attributes and " + " inside a multi-valued one.
std::string TextoAssunto(const X509* ACertificado) {
  const X509_NAME* assunto = OpenSsl().X509_get_subject_name(ACertificado);
  std::string r;
  int conjuntoAnterior = -1;
  for (int i = 0; i < OpenSsl().X509_NAME_entry_count(assunto); ++i) {
    const X509_NAME_ENTRY* item = OpenSsl().X509_NAME_get_entry(assunto, i);
    const int conjunto = OpenSsl().X509_NAME_ENTRY_set(item);
    if (i > 0) r += conjunto == conjuntoAnterior ? " + " : ", ";
    r += TextoAsn1(OpenSsl().X509_NAME_ENTRY_get_data(item));
    conjuntoAnterior = conjunto;
  }
  return r;
}

// What the choice of a certificate weighs in it (platform/seletor_certificado.h).
CandidatoCertificado Candidato(const X509* ACertificado) {
  const ClienteOpenSsl& ssl = OpenSsl();
  CandidatoCertificado r;
  // X509_cmp_current_time gives -1 for a time at or before now, 1 after it, 0 when unreadable.
  r.ValidoHoje = ssl.X509_cmp_current_time(ssl.X509_get0_notBefore(ACertificado)) < 0 &&
                 ssl.X509_cmp_current_time(ssl.X509_get0_notAfter(ACertificado)) > 0;
  int critica = 0;
  const UsosEstendidosPtr usos(static_cast<EXTENDED_KEY_USAGE*>(
      ssl.X509_get_ext_d2i(ACertificado, NID_ext_key_usage, &critica, nullptr)));
  if (usos || critica != -1) {  // -1: no such extension
    r.UsosEstendidos.emplace();
    for (int i = 0; usos && i < ssl.Total(usos.get()); ++i) {
      char oid[128];
      const int n =
          ssl.OBJ_obj2txt(oid, sizeof oid, ssl.Elemento<const ASN1_OBJECT>(usos.get(), i), 1);
      if (n > 0 && n < static_cast<int>(sizeof oid)) r.UsosEstendidos->emplace_back(oid);
    }
  }
  ssl.ERR_clear_error();
  return r;
}

}  // namespace

std::string NomeSimples(const X509* ACertificado) {
  const X509_NAME* assunto = OpenSsl().X509_get_subject_name(ACertificado);
  NomesAlternativosPtr alternativos(static_cast<GENERAL_NAMES*>(
      OpenSsl().X509_get_ext_d2i(ACertificado, NID_subject_alt_name, nullptr, nullptr)));
  const int total = alternativos ? OpenSsl().Total(alternativos.get()) : 0;
  for (int nid :
       {NID_commonName, NID_organizationalUnitName, NID_organizationName, NID_pkcs9_emailAddress}) {
    if (auto valor = Atributo(assunto, nid)) return *valor;
    for (int i = 0; i < total; ++i) {
      const auto* nome = OpenSsl().Elemento<const GENERAL_NAME>(alternativos.get(), i);
      if (nome->type == GEN_DIRNAME)
        if (auto valor = Atributo(nome->d.directoryName, nid)) return *valor;
    }
  }
  for (int i = 0; i < total; ++i) {
    const auto* nome = OpenSsl().Elemento<const GENERAL_NAME>(alternativos.get(), i);
    if (nome->type == GEN_EMAIL) return TextoAsn1(nome->d.rfc822Name);
  }
  if (OpenSsl().X509_NAME_entry_count(assunto) > 0)
    return TextoAsn1(OpenSsl().X509_NAME_ENTRY_get_data(OpenSsl().X509_NAME_get_entry(assunto, 0)));
  return {};
}

std::vector<std::string> NomesCertificadosPessoais() {
  std::vector<std::string> nomes;
  for (const auto& arquivo : ArquivosRepositorio())
    if (const auto c = CertificadoDoArquivo(arquivo)) nomes.push_back(NomeSimples(c->get()));
  return nomes;
}

std::optional<CredencialCliente> CredencialPorAssunto(const std::string& ATextoAssunto) {
  // The certificates with a key that match, in the store's order, up to the first preferred.
  std::vector<std::pair<fs::path, Entrada>> encontrados;
  std::vector<CandidatoCertificado> candidatos;
  for (const auto& arquivo : ArquivosRepositorio()) {
    auto e = LerArquivo(arquivo);
    if (!e || !e->Chave) continue;
    // The display name counts too: a certificate with an empty subject is listed by a name from
    // its alternative names, and choosing it from the list must find it.
    if (!CertificadoCorresponde(TextoAssunto(e->Certificado.get()),
                                NomeSimples(e->Certificado.get()), ATextoAssunto))
      continue;
    candidatos.push_back(Candidato(e->Certificado.get()));
    encontrados.emplace_back(arquivo, std::move(*e));
    if (CandidatoPreferido(candidatos.back())) break;
  }
  const auto escolhido = EscolherCertificado(candidatos);
  if (!escolhido) return std::nullopt;
  auto& [arquivo, e] = encontrados[*escolhido];
  // As ssh does with its keys: a key that others may have copied is not presented as the user's
  // signature.
  std::error_code ec;
  const fs::perms modo = fs::status(arquivo, ec).permissions();
  if (ec || (modo & (fs::perms::group_read | fs::perms::others_read)) != fs::perms::none)
    throw ErroOle("A chave privada do arquivo \"" + TextoDe(arquivo) +
                  "\" pode ser lida por outros usuários; por segurança, o certificado não foi "
                  "usado. Execute chmod 600 \"" +
                  TextoDe(arquivo) + "\" e tente de novo.");
  return CredencialCliente{std::move(e.Certificado), std::move(e.Chave), std::move(e.Cadeia)};
}

}  // namespace tolvane
