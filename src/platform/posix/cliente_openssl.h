#pragma once

#include <openssl/bio.h>
#include <openssl/crypto.h>
#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/pkcs12.h>
#include <openssl/provider.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

namespace tolvane {

// The functions of OpenSSL (libcrypto and libssl) that the personal store and the HTTPS request
// call, each typed by its prototype in OpenSSL's headers and resolved once, when the libraries
// load. Nothing links against OpenSSL: loading and relocating its two libraries costs some
// milliseconds, and a start with an empty store, or a run without a query, needs none of it.
// Header functions and macros that call into the library (sk_*, OPENSSL_free,
// BIO_get_mem_data) are spelled with the functions they stand for.
struct ClienteOpenSsl {
  decltype(&::BIO_new) BIO_new = nullptr;
  decltype(&::BIO_new_mem_buf) BIO_new_mem_buf = nullptr;
  decltype(&::BIO_s_secmem) BIO_s_secmem = nullptr;
  decltype(&::BIO_ctrl) BIO_ctrl = nullptr;
  decltype(&::BIO_free) BIO_free = nullptr;
  decltype(&::CRYPTO_free) CRYPTO_free = nullptr;
  decltype(&::OPENSSL_cleanse) OPENSSL_cleanse = nullptr;
  decltype(&::ERR_clear_error) ERR_clear_error = nullptr;
  decltype(&::OSSL_PROVIDER_try_load) OSSL_PROVIDER_try_load = nullptr;
  decltype(&::OPENSSL_sk_num) OPENSSL_sk_num = nullptr;
  decltype(&::OPENSSL_sk_value) OPENSSL_sk_value = nullptr;
  decltype(&::OPENSSL_sk_new_null) OPENSSL_sk_new_null = nullptr;
  decltype(&::OPENSSL_sk_push) OPENSSL_sk_push = nullptr;
  decltype(&::OPENSSL_sk_shift) OPENSSL_sk_shift = nullptr;
  decltype(&::OPENSSL_sk_pop_free) OPENSSL_sk_pop_free = nullptr;
  decltype(&::OBJ_obj2nid) OBJ_obj2nid = nullptr;
  decltype(&::OBJ_obj2txt) OBJ_obj2txt = nullptr;
  decltype(&::ASN1_STRING_type) ASN1_STRING_type = nullptr;
  decltype(&::ASN1_STRING_get0_data) ASN1_STRING_get0_data = nullptr;
  decltype(&::ASN1_STRING_length) ASN1_STRING_length = nullptr;
  decltype(&::ASN1_STRING_to_UTF8) ASN1_STRING_to_UTF8 = nullptr;
  decltype(&::X509_free) X509_free = nullptr;
  decltype(&::d2i_X509) d2i_X509 = nullptr;
  decltype(&::X509_get_subject_name) X509_get_subject_name = nullptr;
  decltype(&::X509_get_ext_d2i) X509_get_ext_d2i = nullptr;
  decltype(&::X509_get0_notBefore) X509_get0_notBefore = nullptr;
  decltype(&::X509_get0_notAfter) X509_get0_notAfter = nullptr;
  decltype(&::X509_cmp_current_time) X509_cmp_current_time = nullptr;
  decltype(&::EXTENDED_KEY_USAGE_free) EXTENDED_KEY_USAGE_free = nullptr;
  decltype(&::X509_check_private_key) X509_check_private_key = nullptr;
  decltype(&::X509_NAME_entry_count) X509_NAME_entry_count = nullptr;
  decltype(&::X509_NAME_get_entry) X509_NAME_get_entry = nullptr;
  decltype(&::X509_NAME_get_index_by_NID) X509_NAME_get_index_by_NID = nullptr;
  decltype(&::X509_NAME_ENTRY_get_data) X509_NAME_ENTRY_get_data = nullptr;
  decltype(&::X509_NAME_ENTRY_set) X509_NAME_ENTRY_set = nullptr;
  decltype(&::X509_STORE_load_file) X509_STORE_load_file = nullptr;
  decltype(&::GENERAL_NAMES_free) GENERAL_NAMES_free = nullptr;
  decltype(&::EVP_PKEY_free) EVP_PKEY_free = nullptr;
  decltype(&::PEM_read_bio_X509) PEM_read_bio_X509 = nullptr;
  decltype(&::PEM_read_bio_PrivateKey) PEM_read_bio_PrivateKey = nullptr;
  decltype(&::PEM_write_bio_X509) PEM_write_bio_X509 = nullptr;
  decltype(&::PEM_write_bio_PrivateKey) PEM_write_bio_PrivateKey = nullptr;
  decltype(&::PKCS7_free) PKCS7_free = nullptr;
  decltype(&::d2i_PKCS12_bio) d2i_PKCS12_bio = nullptr;
  decltype(&::PKCS12_free) PKCS12_free = nullptr;
  decltype(&::PKCS12_parse) PKCS12_parse = nullptr;
  decltype(&::PKCS12_mac_present) PKCS12_mac_present = nullptr;
  decltype(&::PKCS12_verify_mac) PKCS12_verify_mac = nullptr;
  decltype(&::PKCS12_unpack_authsafes) PKCS12_unpack_authsafes = nullptr;
  decltype(&::PKCS12_unpack_p7data) PKCS12_unpack_p7data = nullptr;
  decltype(&::PKCS12_unpack_p7encdata) PKCS12_unpack_p7encdata = nullptr;
  decltype(&::PKCS12_SAFEBAG_free) PKCS12_SAFEBAG_free = nullptr;
  decltype(&::PKCS12_SAFEBAG_get_nid) PKCS12_SAFEBAG_get_nid = nullptr;
  decltype(&::PKCS12_SAFEBAG_get_bag_nid) PKCS12_SAFEBAG_get_bag_nid = nullptr;
  decltype(&::PKCS12_SAFEBAG_get0_attr) PKCS12_SAFEBAG_get0_attr = nullptr;
  decltype(&::PKCS12_SAFEBAG_get0_safes) PKCS12_SAFEBAG_get0_safes = nullptr;
  decltype(&::PKCS12_SAFEBAG_get1_cert) PKCS12_SAFEBAG_get1_cert = nullptr;
  // The release key of a signed update (publicador.h).
  decltype(&::PEM_read_bio_PUBKEY) PEM_read_bio_PUBKEY = nullptr;
  decltype(&::EVP_PKEY_get_base_id) EVP_PKEY_get_base_id = nullptr;
  decltype(&::EVP_MD_CTX_new) EVP_MD_CTX_new = nullptr;
  decltype(&::EVP_MD_CTX_free) EVP_MD_CTX_free = nullptr;
  decltype(&::EVP_DigestVerifyInit) EVP_DigestVerifyInit = nullptr;
  decltype(&::EVP_DigestVerify) EVP_DigestVerify = nullptr;

  // The number of items of an OpenSSL stack of any type, and one of them (sk_TYPE_num,
  // sk_TYPE_value).
  template <class Pilha>
  int Total(const Pilha* APilha) const {
    return OPENSSL_sk_num(reinterpret_cast<const OPENSSL_STACK*>(APilha));
  }
  template <class T, class Pilha>
  T* Elemento(const Pilha* APilha, int AIndice) const {
    return static_cast<T*>(
        OPENSSL_sk_value(reinterpret_cast<const OPENSSL_STACK*>(APilha), AIndice));
  }
  // Frees a stack and every item in it with ALiberar (sk_TYPE_pop_free).
  template <class Pilha, class T>
  void LiberarPilha(Pilha* APilha, void (*ALiberar)(T*)) const {
    OPENSSL_sk_pop_free(reinterpret_cast<OPENSSL_STACK*>(APilha),
                        reinterpret_cast<OPENSSL_sk_freefunc>(ALiberar));
  }
};

// The file names of OpenSSL 3 (Debian package libssl3).
inline constexpr char kBibliotecaCrypto[] = "libcrypto.so.3";
inline constexpr char kBibliotecaSsl[] = "libssl.so.3";

// The functions of libssl, which only a TLS connection needs: listing the store loads libcrypto
// alone.
struct ClienteOpenSslTls {
  decltype(&::SSL_get_certificate) SSL_get_certificate = nullptr;
  decltype(&::SSL_CTX_get_cert_store) SSL_CTX_get_cert_store = nullptr;
  decltype(&::SSL_CTX_set_cert_cb) SSL_CTX_set_cert_cb = nullptr;
};

// libcrypto and libssl, each loaded on the first call of its function and kept until the
// process ends. Throw ErroGeral naming the library and the system's reason when it cannot be
// loaded or lacks a function; a later call tries again.
const ClienteOpenSsl& OpenSsl();
const ClienteOpenSslTls& OpenSslTls();

}  // namespace tolvane
