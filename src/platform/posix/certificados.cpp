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

#include "core/caminho.h"
#include "core/erro.h"
#include "core/texto.h"
#include "core/utf8.h"
#include "platform/erro_sistema.h"
#include "platform/posix/credencial_openssl.h"
#include "platform/seletor_certificado.h"

namespace tolvane {

namespace {

namespace fs = std::filesystem;

struct LiberaBio {
  void operator()(BIO* A) const { BIO_free(A); }
};
struct LiberaPkcs12 {
  void operator()(PKCS12* A) const { PKCS12_free(A); }
};
struct LiberaNomesAlternativos {
  void operator()(GENERAL_NAMES* A) const { GENERAL_NAMES_free(A); }
};
using BioPtr = std::unique_ptr<BIO, LiberaBio>;
using Pkcs12Ptr = std::unique_ptr<PKCS12, LiberaPkcs12>;
using NomesAlternativosPtr = std::unique_ptr<GENERAL_NAMES, LiberaNomesAlternativos>;

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

std::string Minusculas(std::string ATexto) {
  for (char& c : ATexto)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return ATexto;
}

enum class Formato { Nenhum, Pkcs12, Pem };

Formato FormatoArquivo(const fs::path& AArquivo) {
  const std::string extensao = Minusculas(TextoDe(AArquivo.extension()));
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
  CadeiaPtr cadeia(sk_X509_new_null());
  if (!cadeia) return nullptr;
  for (auto& c : AOutros)
    if (sk_X509_push(cadeia.get(), c.get()) > 0) (void)c.release();  // the stack owns it now
  return cadeia;
}

std::optional<Entrada> LerPkcs12(const std::string& ABytes) {
  BioPtr bio(BIO_new_mem_buf(ABytes.data(), static_cast<int>(ABytes.size())));
  if (!bio) return std::nullopt;
  Pkcs12Ptr pacote(d2i_PKCS12_bio(bio.get(), nullptr));
  if (!pacote) return std::nullopt;
  EVP_PKEY* chave = nullptr;
  X509* certificado = nullptr;
  STACK_OF(X509)* outros = nullptr;
  // An empty password also opens files made with no password at all. Files exported with the
  // old RC2/RC4 algorithms need OpenSSL's legacy provider, loaded only when a file needs it.
  bool aberto = PKCS12_parse(pacote.get(), "", &chave, &certificado, &outros) == 1;
  if (!aberto) {
    static OSSL_PROVIDER* const legado = OSSL_PROVIDER_try_load(nullptr, "legacy", 1);
    if (legado) aberto = PKCS12_parse(pacote.get(), "", &chave, &certificado, &outros) == 1;
  }
  if (!aberto) return std::nullopt;
  Entrada e{X509Ptr(certificado), ChavePtr(chave), CadeiaPtr(outros)};
  if (!e.Certificado && e.Cadeia && sk_X509_num(e.Cadeia.get()) > 0)
    e.Certificado.reset(sk_X509_shift(e.Cadeia.get()));
  if (!e.Certificado) return std::nullopt;
  return e;
}

std::optional<Entrada> LerPem(const std::string& ABytes) {
  std::vector<X509Ptr> certificados;
  {
    BioPtr bio(BIO_new_mem_buf(ABytes.data(), static_cast<int>(ABytes.size())));
    if (!bio) return std::nullopt;
    while (X509* c = PEM_read_bio_X509(bio.get(), nullptr, SemSenha, nullptr))
      certificados.emplace_back(c);
  }
  if (certificados.empty()) {
    // ".crt" and ".cer" files often hold the certificate in DER.
    const auto* p = reinterpret_cast<const unsigned char*>(ABytes.data());
    X509* c = d2i_X509(nullptr, &p, static_cast<long>(ABytes.size()));
    if (!c) return std::nullopt;
    certificados.emplace_back(c);
  }
  ChavePtr chave;
  {
    BioPtr bio(BIO_new_mem_buf(ABytes.data(), static_cast<int>(ABytes.size())));
    if (bio) chave.reset(PEM_read_bio_PrivateKey(bio.get(), nullptr, SemSenha, nullptr));
  }
  std::size_t escolhido = 0;
  if (chave) {
    auto par = std::find_if(certificados.begin(), certificados.end(), [&](const X509Ptr& c) {
      return X509_check_private_key(c.get(), chave.get()) == 1;
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

// One file of the store; no value when it cannot be read or holds no certificate.
std::optional<Entrada> LerArquivo(const fs::path& AArquivo) {
  const auto bytes = LerBytes(AArquivo);
  if (!bytes) return std::nullopt;
  auto e = FormatoArquivo(AArquivo) == Formato::Pkcs12 ? LerPkcs12(*bytes) : LerPem(*bytes);
  // Failed parses leave errors in the thread's OpenSSL queue, where libcurl would read them.
  ERR_clear_error();
  return e;
}

std::string TextoAsn1(const ASN1_STRING* AValor) {
  if (!AValor) return {};
  if (ASN1_STRING_type(AValor) == V_ASN1_T61STRING) {
    // Like CryptoAPI, a T61String is read as UTF-8 when it is valid UTF-8, else as Latin-1.
    std::string bruto(reinterpret_cast<const char*>(ASN1_STRING_get0_data(AValor)),
                      static_cast<std::size_t>(ASN1_STRING_length(AValor)));
    if (EhUtf8Valido(bruto)) return bruto;
  }
  unsigned char* utf8 = nullptr;
  const int tamanho = ASN1_STRING_to_UTF8(&utf8, AValor);
  if (tamanho < 0) return {};
  std::string r(reinterpret_cast<const char*>(utf8), static_cast<std::size_t>(tamanho));
  OPENSSL_free(utf8);
  return r;
}

std::optional<std::string> Atributo(const X509_NAME* ANome, int ANid) {
  const int i = X509_NAME_get_index_by_NID(ANome, ANid, -1);
  if (i < 0) return std::nullopt;
  return TextoAsn1(X509_NAME_ENTRY_get_data(X509_NAME_get_entry(ANome, i)));
}

// The subject as CryptoAPI's simple name string: the values in their order, ", " between
// attributes and " + " inside a multi-valued one.
std::string TextoAssunto(const X509* ACertificado) {
  const X509_NAME* assunto = X509_get_subject_name(ACertificado);
  std::string r;
  int conjuntoAnterior = -1;
  for (int i = 0; i < X509_NAME_entry_count(assunto); ++i) {
    const X509_NAME_ENTRY* item = X509_NAME_get_entry(assunto, i);
    const int conjunto = X509_NAME_ENTRY_set(item);
    if (i > 0) r += conjunto == conjuntoAnterior ? " + " : ", ";
    r += TextoAsn1(X509_NAME_ENTRY_get_data(item));
    conjuntoAnterior = conjunto;
  }
  return r;
}

}  // namespace

std::string NomeSimples(const X509* ACertificado) {
  const X509_NAME* assunto = X509_get_subject_name(ACertificado);
  NomesAlternativosPtr alternativos(static_cast<GENERAL_NAMES*>(
      X509_get_ext_d2i(ACertificado, NID_subject_alt_name, nullptr, nullptr)));
  const int total = alternativos ? sk_GENERAL_NAME_num(alternativos.get()) : 0;
  for (int nid :
       {NID_commonName, NID_organizationalUnitName, NID_organizationName, NID_pkcs9_emailAddress}) {
    if (auto valor = Atributo(assunto, nid)) return *valor;
    for (int i = 0; i < total; ++i) {
      const GENERAL_NAME* nome = sk_GENERAL_NAME_value(alternativos.get(), i);
      if (nome->type == GEN_DIRNAME)
        if (auto valor = Atributo(nome->d.directoryName, nid)) return *valor;
    }
  }
  for (int i = 0; i < total; ++i) {
    const GENERAL_NAME* nome = sk_GENERAL_NAME_value(alternativos.get(), i);
    if (nome->type == GEN_EMAIL) return TextoAsn1(nome->d.rfc822Name);
  }
  if (X509_NAME_entry_count(assunto) > 0)
    return TextoAsn1(X509_NAME_ENTRY_get_data(X509_NAME_get_entry(assunto, 0)));
  return {};
}

std::vector<std::string> NomesCertificadosPessoais() {
  std::vector<std::string> nomes;
  for (const auto& arquivo : ArquivosRepositorio())
    if (const auto e = LerArquivo(arquivo)) nomes.push_back(NomeSimples(e->Certificado.get()));
  return nomes;
}

std::optional<CredencialCliente> CredencialPorAssunto(const std::string& ATextoAssunto) {
  for (const auto& arquivo : ArquivosRepositorio()) {
    auto e = LerArquivo(arquivo);
    if (!e || !e->Chave) continue;
    // The display name counts too: a certificate with an empty subject is listed by a name from
    // its alternative names, and choosing it from the list must find it.
    if (!CertificadoCorresponde(TextoAssunto(e->Certificado.get()),
                                NomeSimples(e->Certificado.get()), ATextoAssunto))
      continue;
    // As ssh does with its keys: a key that others may have copied is not presented as the
    // user's signature.
    std::error_code ec;
    const fs::perms modo = fs::status(arquivo, ec).permissions();
    if (ec || (modo & (fs::perms::group_read | fs::perms::others_read)) != fs::perms::none)
      throw ErroOle("A chave privada do arquivo \"" + TextoDe(arquivo) +
                    "\" pode ser lida por outros usuários; por segurança, o certificado não foi "
                    "usado. Execute chmod 600 \"" +
                    TextoDe(arquivo) + "\" e tente de novo.");
    return CredencialCliente{std::move(e->Certificado), std::move(e->Chave), std::move(e->Cadeia)};
  }
  return std::nullopt;
}

}  // namespace tolvane
