#include "platform/publicador.h"

#include <fstream>
#include <iterator>
#include <memory>

#include "core/erro.h"
#include "platform/posix/cliente_openssl.h"

namespace tolvane {

namespace {

constexpr const char* kNome = "a chave de publicação deste programa";
constexpr std::size_t kTamanhoAssinatura = 64;  // Ed25519

struct LiberaChave {
  void operator()(EVP_PKEY* A) const { OpenSsl().EVP_PKEY_free(A); }
};
using ChavePtr = std::unique_ptr<EVP_PKEY, LiberaChave>;

struct LiberaBio {
  void operator()(BIO* A) const { OpenSsl().BIO_free(A); }
};

struct LiberaContexto {
  void operator()(EVP_MD_CTX* A) const { OpenSsl().EVP_MD_CTX_free(A); }
};

// The Ed25519 key of a PEM text; throws when the text holds none.
ChavePtr LerChave(const std::string& APem) {
  const ClienteOpenSsl& o = OpenSsl();
  const std::unique_ptr<BIO, LiberaBio> bio(
      o.BIO_new_mem_buf(APem.data(), static_cast<int>(APem.size())));
  ChavePtr chave(bio ? o.PEM_read_bio_PUBKEY(bio.get(), nullptr, nullptr, nullptr) : nullptr);
  o.ERR_clear_error();
  if (!chave || o.EVP_PKEY_get_base_id(chave.get()) != EVP_PKEY_ED25519)
    throw ErroSistemaComMensagem("A chave de publicação não é uma chave pública Ed25519 em PEM.");
  return chave;
}

// The whole file; no value when it cannot be read.
std::optional<std::string> LerArquivo(const std::string& ACaminho) {
  std::ifstream arquivo(ACaminho, std::ios::binary);
  if (!arquivo) return std::nullopt;
  std::string r{std::istreambuf_iterator<char>(arquivo), std::istreambuf_iterator<char>()};
  if (arquivo.bad()) return std::nullopt;
  return r;
}

}  // namespace

std::optional<Publicador> Publicador::DoProgramaAtual() {
#ifdef TOLVANE_CHAVE_PUBLICACAO_PEM
  return DeChavePem(TOLVANE_CHAVE_PUBLICACAO_PEM);
#else
  return std::nullopt;
#endif
}

Publicador Publicador::DeChavePem(const std::string& APem) {
  LerChave(APem);
  return Publicador(kNome, APem);
}

std::string Publicador::Verificar(const std::string& AArquivo, const std::string& AOrigem) const {
  const std::string caminhoAssinatura = CaminhoAssinatura(AOrigem);
  const std::optional<std::string> assinatura = LerArquivo(caminhoAssinatura);
  if (!assinatura)
    return "O arquivo " + AOrigem + " não tem assinatura digital: falta " + caminhoAssinatura + ".";
  const std::optional<std::string> conteudo = LerArquivo(AArquivo);
  if (!conteudo)
    return "O arquivo " + AOrigem + " não pôde ser lido para conferir a sua assinatura digital.";

  // Ed25519 signs the message itself, in one pass: no digest is named and no update is fed.
  const ClienteOpenSsl& o = OpenSsl();
  const ChavePtr chave = LerChave(FChave);
  const std::unique_ptr<EVP_MD_CTX, LiberaContexto> contexto(o.EVP_MD_CTX_new());
  const bool confere =
      contexto && assinatura->size() == kTamanhoAssinatura &&
      o.EVP_DigestVerifyInit(contexto.get(), nullptr, nullptr, nullptr, chave.get()) == 1 &&
      o.EVP_DigestVerify(contexto.get(), reinterpret_cast<const unsigned char*>(assinatura->data()),
                         assinatura->size(),
                         reinterpret_cast<const unsigned char*>(conteudo->data()),
                         conteudo->size()) == 1;
  o.ERR_clear_error();
  if (!confere)
    return "A assinatura digital " + caminhoAssinatura + " não confere: o arquivo " + AOrigem +
           " foi alterado depois de assinado ou não foi assinado com " + FNome + ".";
  return {};
}

}  // namespace tolvane
