#include "platform/posix/cliente_openssl.h"

#include <memory>
#include <string>

#include "core/erro.h"
#include "platform/biblioteca.h"

namespace tolvane {

namespace {

template <class F>
void Resolver(const Biblioteca& ABiblioteca, const char* ANomeBiblioteca, const char* ANome,
              F& AFuncao) {
  AFuncao = ABiblioteca.Funcao<F>(ANome);
  if (!AFuncao)
    throw ErroGeral(std::string("A biblioteca ") + ANomeBiblioteca + " não tem a função " + ANome +
                    "; instale o OpenSSL 3 (pacote libssl3)");
}

std::unique_ptr<Biblioteca> Carregar(const char* ANome) {
  auto b = std::make_unique<Biblioteca>(ANome, OrigemBiblioteca::Sistema);
  if (!b->Carregada())
    throw ErroGeral(std::string("Não foi possível carregar a biblioteca ") + ANome + " (" +
                    b->ErroCarga() + "); instale o pacote libssl3");
  return b;
}

struct OpenSslCarregado {
  std::unique_ptr<Biblioteca> Crypto;
  ClienteOpenSsl Funcoes;
};

struct OpenSslTlsCarregado {
  std::unique_ptr<Biblioteca> Ssl;
  ClienteOpenSslTls Funcoes;
};

#define RESOLVER(biblioteca, nome) Resolver(*r.biblioteca, kBiblioteca##biblioteca, #nome, c.nome)

OpenSslCarregado CarregarOpenSsl() {
  OpenSslCarregado r;
  r.Crypto = Carregar(kBibliotecaCrypto);
  ClienteOpenSsl& c = r.Funcoes;
  RESOLVER(Crypto, BIO_new);
  RESOLVER(Crypto, BIO_new_mem_buf);
  RESOLVER(Crypto, BIO_s_secmem);
  RESOLVER(Crypto, BIO_ctrl);
  RESOLVER(Crypto, BIO_free);
  RESOLVER(Crypto, CRYPTO_free);
  RESOLVER(Crypto, OPENSSL_cleanse);
  RESOLVER(Crypto, ERR_clear_error);
  RESOLVER(Crypto, OSSL_PROVIDER_try_load);
  RESOLVER(Crypto, OPENSSL_sk_num);
  RESOLVER(Crypto, OPENSSL_sk_value);
  RESOLVER(Crypto, OPENSSL_sk_new_null);
  RESOLVER(Crypto, OPENSSL_sk_push);
  RESOLVER(Crypto, OPENSSL_sk_shift);
  RESOLVER(Crypto, OPENSSL_sk_pop_free);
  RESOLVER(Crypto, OBJ_obj2nid);
  RESOLVER(Crypto, OBJ_obj2txt);
  RESOLVER(Crypto, ASN1_STRING_type);
  RESOLVER(Crypto, ASN1_STRING_get0_data);
  RESOLVER(Crypto, ASN1_STRING_length);
  RESOLVER(Crypto, ASN1_STRING_to_UTF8);
  RESOLVER(Crypto, X509_free);
  RESOLVER(Crypto, d2i_X509);
  RESOLVER(Crypto, X509_get_subject_name);
  RESOLVER(Crypto, X509_get_ext_d2i);
  RESOLVER(Crypto, X509_get0_notBefore);
  RESOLVER(Crypto, X509_get0_notAfter);
  RESOLVER(Crypto, X509_cmp_current_time);
  RESOLVER(Crypto, EXTENDED_KEY_USAGE_free);
  RESOLVER(Crypto, X509_check_private_key);
  RESOLVER(Crypto, X509_NAME_entry_count);
  RESOLVER(Crypto, X509_NAME_get_entry);
  RESOLVER(Crypto, X509_NAME_get_index_by_NID);
  RESOLVER(Crypto, X509_NAME_ENTRY_get_data);
  RESOLVER(Crypto, X509_NAME_ENTRY_set);
  RESOLVER(Crypto, X509_STORE_load_file);
  RESOLVER(Crypto, GENERAL_NAMES_free);
  RESOLVER(Crypto, EVP_PKEY_free);
  RESOLVER(Crypto, PEM_read_bio_X509);
  RESOLVER(Crypto, PEM_read_bio_PrivateKey);
  RESOLVER(Crypto, PEM_write_bio_X509);
  RESOLVER(Crypto, PEM_write_bio_PrivateKey);
  RESOLVER(Crypto, PKCS7_free);
  RESOLVER(Crypto, d2i_PKCS12_bio);
  RESOLVER(Crypto, PKCS12_free);
  RESOLVER(Crypto, PKCS12_parse);
  RESOLVER(Crypto, PKCS12_mac_present);
  RESOLVER(Crypto, PKCS12_verify_mac);
  RESOLVER(Crypto, PKCS12_unpack_authsafes);
  RESOLVER(Crypto, PKCS12_unpack_p7data);
  RESOLVER(Crypto, PKCS12_unpack_p7encdata);
  RESOLVER(Crypto, PKCS12_SAFEBAG_free);
  RESOLVER(Crypto, PKCS12_SAFEBAG_get_nid);
  RESOLVER(Crypto, PKCS12_SAFEBAG_get_bag_nid);
  RESOLVER(Crypto, PKCS12_SAFEBAG_get0_attr);
  RESOLVER(Crypto, PKCS12_SAFEBAG_get0_safes);
  RESOLVER(Crypto, PKCS12_SAFEBAG_get1_cert);
  RESOLVER(Crypto, PEM_read_bio_PUBKEY);
  RESOLVER(Crypto, EVP_PKEY_get_base_id);
  RESOLVER(Crypto, EVP_MD_CTX_new);
  RESOLVER(Crypto, EVP_MD_CTX_free);
  RESOLVER(Crypto, EVP_DigestVerifyInit);
  RESOLVER(Crypto, EVP_DigestVerify);
  return r;
}

OpenSslTlsCarregado CarregarOpenSslTls() {
  OpenSslTlsCarregado r;
  r.Ssl = Carregar(kBibliotecaSsl);
  ClienteOpenSslTls& c = r.Funcoes;
  RESOLVER(Ssl, SSL_get_certificate);
  RESOLVER(Ssl, SSL_CTX_get_cert_store);
  RESOLVER(Ssl, SSL_CTX_set_cert_cb);
  return r;
}

#undef RESOLVER

}  // namespace

const ClienteOpenSsl& OpenSsl() {
  // A static whose initialisation throws is initialised again at the next call.
  static const OpenSslCarregado carregado = CarregarOpenSsl();
  return carregado.Funcoes;
}

const ClienteOpenSslTls& OpenSslTls() {
  static const OpenSslTlsCarregado carregado = CarregarOpenSslTls();
  return carregado.Funcoes;
}

}  // namespace tolvane
