#include "classtrib/gerador_certificados.h"

#include <openssl/bio.h>
#include <openssl/ec.h>
#include <openssl/pem.h>
#include <openssl/pkcs12.h>
#include <openssl/provider.h>
#include <openssl/x509v3.h>

#include <filesystem>
#include <stdexcept>

namespace tolvane::teste {

namespace {

struct LiberaBio {
  void operator()(BIO* A) const { BIO_free(A); }
};
using BioPtr = std::unique_ptr<BIO, LiberaBio>;

void Exigir(bool ACondicao, const char* AOque) {
  if (!ACondicao) throw std::runtime_error(std::string("OpenSSL: ") + AOque);
}

ChavePtr NovaChave() {
  ChavePtr chave(EVP_EC_gen("P-256"));
  Exigir(chave != nullptr, "EVP_EC_gen");
  return chave;
}

void Acrescentar(X509_NAME* ANome, const Atributo& AAtributo) {
  const int tipo = AAtributo.Campo == "C" ? V_ASN1_PRINTABLESTRING : V_ASN1_UTF8STRING;
  Exigir(X509_NAME_add_entry_by_txt(ANome, AAtributo.Campo.c_str(), tipo,
                                    reinterpret_cast<const unsigned char*>(AAtributo.Valor.data()),
                                    static_cast<int>(AAtributo.Valor.size()), -1, 0) == 1,
         "X509_NAME_add_entry_by_txt");
}

X509Ptr Certificado(const std::vector<Atributo>& AAssunto, long ASerie, EVP_PKEY* AChave) {
  X509Ptr c(X509_new());
  Exigir(c != nullptr, "X509_new");
  X509_set_version(c.get(), 2);
  ASN1_INTEGER_set(X509_get_serialNumber(c.get()), ASerie);
  X509_gmtime_adj(X509_getm_notBefore(c.get()), -3600);
  X509_gmtime_adj(X509_getm_notAfter(c.get()), 30L * 24 * 3600);
  X509_NAME* nome = X509_get_subject_name(c.get());
  for (const auto& a : AAssunto) Acrescentar(nome, a);
  X509_set_pubkey(c.get(), AChave);
  return c;
}

void GravarBytes(const std::string& ACaminho, BIO* ADados) {
  BUF_MEM* memoria = nullptr;
  BIO_get_mem_ptr(ADados, &memoria);
  BioPtr arquivo(BIO_new_file(ACaminho.c_str(), "wb"));
  Exigir(arquivo && BIO_write(arquivo.get(), memoria->data, static_cast<int>(memoria->length)) ==
                        static_cast<int>(memoria->length),
         "gravar arquivo");
}

}  // namespace

GeradorCertificados::GeradorCertificados() : FChaveCa(NovaChave()), FChave(NovaChave()) {
  FCa = Certificado({{"CN", "CA local dos testes"}}, 1, FChaveCa.get());
  X509_set_issuer_name(FCa.get(), X509_get_subject_name(FCa.get()));
  Exigir(X509_sign(FCa.get(), FChaveCa.get(), EVP_sha256()) > 0, "X509_sign");
}

GeradorCertificados::GeradorCertificados(const std::string& ACaPem, const std::string& ACaChave)
    : FChave(NovaChave()) {
  BioPtr pem(BIO_new_file(ACaPem.c_str(), "rb"));
  BioPtr chave(BIO_new_file(ACaChave.c_str(), "rb"));
  Exigir(pem && chave, "abrir a CA");
  FCa.reset(PEM_read_bio_X509(pem.get(), nullptr, nullptr, nullptr));
  FChaveCa.reset(PEM_read_bio_PrivateKey(chave.get(), nullptr, nullptr, nullptr));
  Exigir(FCa && FChaveCa, "ler a CA");
}

X509Ptr GeradorCertificados::Emitir(const ModeloCertificado& AModelo) const {
  X509Ptr c = Certificado(AModelo.Assunto, AModelo.Serie, FChave.get());
  X509_set_issuer_name(c.get(), X509_get_subject_name(FCa.get()));
  if (AModelo.Expirado)
    Exigir(ASN1_TIME_set_string(X509_getm_notBefore(c.get()), "20200101000000Z") == 1 &&
               ASN1_TIME_set_string(X509_getm_notAfter(c.get()), "20200201000000Z") == 1,
           "ASN1_TIME_set_string");
  if (!AModelo.UsosEstendidos.empty()) {
    std::string usos;
    for (const auto& u : AModelo.UsosEstendidos) usos += (usos.empty() ? "" : ",") + u;
    X509_EXTENSION* extensao =
        X509V3_EXT_conf_nid(nullptr, nullptr, NID_ext_key_usage, usos.c_str());
    Exigir(extensao && X509_add_ext(c.get(), extensao, -1) == 1, "X509V3_EXT_conf_nid");
    X509_EXTENSION_free(extensao);
  }
  if (!AModelo.EmailsAlternativos.empty() || !AModelo.DiretorioAlternativo.empty()) {
    GENERAL_NAMES* nomes = sk_GENERAL_NAME_new_null();
    for (const auto& email : AModelo.EmailsAlternativos) {
      GENERAL_NAME* n = GENERAL_NAME_new();
      ASN1_IA5STRING* texto = ASN1_IA5STRING_new();
      ASN1_STRING_set(texto, email.data(), static_cast<int>(email.size()));
      GENERAL_NAME_set0_value(n, GEN_EMAIL, texto);
      sk_GENERAL_NAME_push(nomes, n);
    }
    if (!AModelo.DiretorioAlternativo.empty()) {
      X509_NAME* diretorio = X509_NAME_new();
      for (const auto& a : AModelo.DiretorioAlternativo) Acrescentar(diretorio, a);
      GENERAL_NAME* n = GENERAL_NAME_new();
      GENERAL_NAME_set0_value(n, GEN_DIRNAME, diretorio);
      sk_GENERAL_NAME_push(nomes, n);
    }
    // With an empty subject the alternative names must be critical.
    const int critica = AModelo.Assunto.empty() ? 1 : 0;
    const int rc = X509_add1_ext_i2d(c.get(), NID_subject_alt_name, nomes, critica, 0);
    GENERAL_NAMES_free(nomes);
    Exigir(rc == 1, "X509_add1_ext_i2d");
  }
  Exigir(X509_sign(c.get(), FChaveCa.get(), EVP_sha256()) > 0, "X509_sign");
  return c;
}

void GeradorCertificados::GravarPkcs12(X509* ACertificado, FormatoTeste AFormato,
                                       BIO* ADestino) const {
  const bool legado = AFormato == FormatoTeste::Pkcs12Legado;
  const bool comCa =
      AFormato == FormatoTeste::Pkcs12ComCa || AFormato == FormatoTeste::Pkcs12ComCaSemId;
  const bool comId = AFormato != FormatoTeste::Pkcs12ComCaSemId;
  const char* senha =
      AFormato == FormatoTeste::Pkcs12ComSenha || AFormato == FormatoTeste::Pkcs12ComSenhaSemCifra
          ? "segredo"
          : "";
  const int cifraCertificados = legado ? NID_pbe_WithSHA1And40BitRC2_CBC
                                : AFormato == FormatoTeste::Pkcs12ComSenhaSemCifra
                                    ? -1
                                    : NID_aes_256_cbc;
  const int cifraChave = legado ? NID_pbe_WithSHA1And3_Key_TripleDES_CBC : NID_aes_256_cbc;
  // RC2 lives in OpenSSL's legacy provider; it is unloaded again, so that the store under test
  // has to load it itself.
  OSSL_PROVIDER* provedor = legado ? OSSL_PROVIDER_try_load(nullptr, "legacy", 1) : nullptr;
  Exigir(!legado || provedor, "OSSL_PROVIDER_try_load(legacy)");

  unsigned char id[EVP_MAX_MD_SIZE];
  unsigned int tamanhoId = 0;
  Exigir(X509_digest(ACertificado, EVP_sha1(), id, &tamanhoId) == 1, "X509_digest");
  auto liberarBolsas = [](STACK_OF(PKCS12_SAFEBAG) * A) {
    sk_PKCS12_SAFEBAG_pop_free(A, PKCS12_SAFEBAG_free);
  };
  STACK_OF(PKCS12_SAFEBAG)* bolsas = nullptr;
  STACK_OF(PKCS7)* partes = nullptr;
  if (comCa) Exigir(PKCS12_add_cert(&bolsas, FCa.get()) != nullptr, "PKCS12_add_cert");
  PKCS12_SAFEBAG* bolsa = PKCS12_add_cert(&bolsas, ACertificado);
  Exigir(bolsa && (!comId || PKCS12_add_localkeyid(bolsa, id, static_cast<int>(tamanhoId)) == 1),
         "PKCS12_add_cert");
  Exigir(PKCS12_add_safe(&partes, bolsas, cifraCertificados, PKCS12_DEFAULT_ITER, senha) == 1,
         "PKCS12_add_safe");
  liberarBolsas(bolsas);
  bolsas = nullptr;
  bolsa = PKCS12_add_key(&bolsas, FChave.get(), 0, PKCS12_DEFAULT_ITER, cifraChave, senha);
  Exigir(bolsa && (!comId || PKCS12_add_localkeyid(bolsa, id, static_cast<int>(tamanhoId)) == 1),
         "PKCS12_add_key");
  Exigir(PKCS12_add_safe(&partes, bolsas, -1, 0, nullptr) == 1, "PKCS12_add_safe");
  liberarBolsas(bolsas);
  std::unique_ptr<PKCS12, decltype(&PKCS12_free)> pacote(PKCS12_add_safes(partes, 0), PKCS12_free);
  sk_PKCS7_pop_free(partes, PKCS7_free);
  Exigir(pacote && PKCS12_set_mac(pacote.get(), senha, -1, nullptr, 0, PKCS12_DEFAULT_ITER,
                                  legado ? EVP_sha1() : nullptr) == 1,
         "PKCS12_set_mac");
  Exigir(i2d_PKCS12_bio(ADestino, pacote.get()) == 1, "i2d_PKCS12_bio");
  if (provedor) OSSL_PROVIDER_unload(provedor);
}

void GeradorCertificados::Gravar(const ModeloCertificado& AModelo, FormatoTeste AFormato,
                                 const std::string& ACaminho) const {
  X509Ptr c = Emitir(AModelo);
  BioPtr dados(BIO_new(BIO_s_mem()));
  switch (AFormato) {
    case FormatoTeste::Pkcs12: {
      std::unique_ptr<PKCS12, decltype(&PKCS12_free)> pacote(
          PKCS12_create("", nullptr, FChave.get(), c.get(), nullptr, 0, 0, 0, 0, 0), PKCS12_free);
      Exigir(pacote && i2d_PKCS12_bio(dados.get(), pacote.get()) == 1, "PKCS12_create");
      break;
    }
    case FormatoTeste::PemComChave:
      Exigir(PEM_write_bio_X509(dados.get(), c.get()) == 1 &&
                 PEM_write_bio_PrivateKey(dados.get(), FChave.get(), nullptr, nullptr, 0, nullptr,
                                          nullptr) == 1,
             "PEM_write");
      break;
    case FormatoTeste::PemSemChave:
      Exigir(PEM_write_bio_X509(dados.get(), c.get()) == 1, "PEM_write_bio_X509");
      break;
    case FormatoTeste::Der:
      Exigir(i2d_X509_bio(dados.get(), c.get()) == 1, "i2d_X509_bio");
      break;
    case FormatoTeste::PemCadeia:
      Exigir(PEM_write_bio_X509(dados.get(), FCa.get()) == 1 &&
                 PEM_write_bio_X509(dados.get(), c.get()) == 1 &&
                 PEM_write_bio_PrivateKey(dados.get(), FChave.get(), nullptr, nullptr, 0, nullptr,
                                          nullptr) == 1,
             "PEM_write");
      break;
    case FormatoTeste::Pkcs12Legado:
    case FormatoTeste::Pkcs12ComCa:
    case FormatoTeste::Pkcs12ComCaSemId:
    case FormatoTeste::Pkcs12ComSenha:
    case FormatoTeste::Pkcs12ComSenhaSemCifra:
      GravarPkcs12(c.get(), AFormato, dados.get());
      break;
  }
  GravarBytes(ACaminho, dados.get());
  // As a user keeps a key: readable by the owner alone, or the store refuses to present it.
  if (AFormato != FormatoTeste::PemSemChave && AFormato != FormatoTeste::Der)
    std::filesystem::permissions(ACaminho, std::filesystem::perms(0600));
}

}  // namespace tolvane::teste
