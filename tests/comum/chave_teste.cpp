#include "comum/chave_teste.h"

#include <openssl/evp.h>
#include <openssl/pem.h>

#include <memory>
#include <stdexcept>

#include "comum/arquivos_teste.h"

namespace tolvane::teste {

namespace {

using Chave = std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)>;
using Bio = std::unique_ptr<BIO, decltype(&BIO_free)>;

void Exigir(bool AOk, const char* AOque) {
  if (!AOk) throw std::runtime_error(std::string("OpenSSL: ") + AOque);
}

std::string TextoDo(BIO* ABio) {
  char* dados = nullptr;
  const long n = BIO_get_mem_data(ABio, &dados);
  return std::string(dados, static_cast<std::size_t>(n));
}

Chave LerPrivada(const std::string& APem) {
  Bio bio(BIO_new_mem_buf(APem.data(), static_cast<int>(APem.size())), BIO_free);
  Chave chave(PEM_read_bio_PrivateKey(bio.get(), nullptr, nullptr, nullptr), EVP_PKEY_free);
  Exigir(chave != nullptr, "private key");
  return chave;
}

}  // namespace

ChaveTeste::ChaveTeste() {
  Chave chave(EVP_PKEY_Q_keygen(nullptr, nullptr, "ED25519"), EVP_PKEY_free);
  Exigir(chave != nullptr, "keygen");
  Bio privada(BIO_new(BIO_s_mem()), BIO_free);
  Bio publica(BIO_new(BIO_s_mem()), BIO_free);
  Exigir(PEM_write_bio_PrivateKey(privada.get(), chave.get(), nullptr, nullptr, 0, nullptr,
                                  nullptr) == 1 &&
             PEM_write_bio_PUBKEY(publica.get(), chave.get()) == 1,
         "PEM");
  FPrivada = TextoDo(privada.get());
  FPublica = TextoDo(publica.get());
}

std::string ChaveTeste::Assinar(std::string_view ABytes) const {
  const Chave chave = LerPrivada(FPrivada);
  std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> ctx(EVP_MD_CTX_new(), EVP_MD_CTX_free);
  std::string assinatura(64, '\0');
  std::size_t n = assinatura.size();
  Exigir(
      ctx && EVP_DigestSignInit(ctx.get(), nullptr, nullptr, nullptr, chave.get()) == 1 &&
          EVP_DigestSign(ctx.get(), reinterpret_cast<unsigned char*>(assinatura.data()), &n,
                         reinterpret_cast<const unsigned char*>(ABytes.data()), ABytes.size()) == 1,
      "sign");
  assinatura.resize(n);
  return assinatura;
}

void ChaveTeste::AssinarArquivo(const std::string& ACaminho) const {
  EscreverArquivo(ACaminho + ".sig", Assinar(LerArquivo(ACaminho)));
}

}  // namespace tolvane::teste
