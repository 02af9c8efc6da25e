// The certificate selector: how its text reads and which certificate it takes.
#include "platform/seletor_certificado.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "comum/espera_teste.h"

namespace tolvane {
namespace {

TEST(TextoAssuntoSeletor, LocationAndStoreMayBeLeftOut) {
  struct Caso {
    const char* Seletor;
    const char* Texto;
  };
  const Caso casos[] = {
      {"CURRENT_USER\\MY\\EMPRESA TESTE", "EMPRESA TESTE"},
      {"current_user\\my\\empresa", "empresa"},
      {"CURRENT_USER\\Personal\\A\\B", "A\\B"},
      {"CURRENT_USER\\EMPRESA", "EMPRESA"},
      {"EMPRESA TESTE", "EMPRESA TESTE"},
      {"CURRENT_USER\\MY\\", ""},
      {"", ""},
  };
  for (const auto& c : casos) EXPECT_EQ(TextoAssuntoSeletor(c.Seletor), c.Texto) << c.Seletor;
}

TEST(TextoAssuntoSeletor, OtherStoresAreNotAvailable) {
  for (const char* seletor : {"LOCAL_MACHINE\\MY\\x", "CURRENT_USER\\ROOT\\x"}) {
    const Erro e = teste::ErroLancado([&] { TextoAssuntoSeletor(seletor); }, seletor);
    EXPECT_EQ(e.Classe(), "EOleException") << seletor;
    EXPECT_TRUE(e.Mensagem().starts_with("Repositório de certificados não disponível: "))
        << e.Mensagem();
  }
}

TEST(CertificadoCorresponde, SubjectOrNameContainsTheTextLetterCaseIgnored) {
  struct Caso {
    const char* Rotulo;
    const char* Assunto;
    const char* Nome;
    const char* Texto;
    bool Corresponde;
  };
  const Caso casos[] = {
      {"empty text takes any", "BR, ICP-Brasil, EMPRESA", "EMPRESA", "", true},
      {"part of the subject", "BR, ICP-Brasil, EMPRESA TESTE LTDA", "EMPRESA TESTE LTDA",
       "icp-brasil, empresa", true},
      {"part of the display name only", "", "san@empresa.com.br", "SAN@", true},
      {"accented letters fold too", "BR, JOÃO DA SILVA ÇÉ", "JOÃO DA SILVA ÇÉ", "joão da silva çé",
       true},
      {"no match", "BR, OUTRA EMPRESA", "OUTRA EMPRESA", "EMPRESA TESTE", false},
      {"ill-formed byte matches only itself",
       "A\xE7"
       "B",
       "",
       "a\xE7"
       "b",
       true},
      {"ill-formed byte is no letter",
       "A\xC7"
       "B",
       "",
       "a\xE7"
       "b",
       false},
  };
  for (const auto& c : casos)
    EXPECT_EQ(CertificadoCorresponde(c.Assunto, c.Nome, c.Texto), c.Corresponde) << c.Rotulo;
}

// A user who renewed a certificate keeps the expired one beside it, under the same name: among
// the certificates that match, one valid today that may authenticate a client goes first.
TEST(EscolherCertificado, ValidCertificateForClientsElseTheFirstThatMatches) {
  const std::string servidor = "1.3.6.1.5.5.7.3.1";
  const std::string cliente = "1.3.6.1.5.5.7.3.2";
  const std::string qualquer = "2.5.29.37.0";
  const CandidatoCertificado expirado{false, std::nullopt};
  const CandidatoCertificado valido{true, std::nullopt};
  const CandidatoCertificado soServidor{true, std::vector{servidor}};
  const CandidatoCertificado servidorECliente{true, std::vector{servidor, cliente}};
  const CandidatoCertificado qualquerUso{true, std::vector{qualquer}};
  const CandidatoCertificado extensaoIlegivel{true, std::vector<std::string>{}};
  const CandidatoCertificado expiradoDeCliente{false, std::vector{cliente}};
  struct Caso {
    const char* Rotulo;
    std::vector<CandidatoCertificado> Candidatos;
    std::optional<std::size_t> Escolhido;
  };
  const Caso casos[] = {
      {"expired, then its renewal", {expirado, valido}, 1},
      {"renewal, then the expired one", {valido, expirado}, 0},
      {"server purposes only, then client purposes", {soServidor, servidorECliente}, 1},
      {"server purposes only, then no extension", {soServidor, valido}, 1},
      {"anyExtendedKeyUsage allows a client", {soServidor, qualquerUso}, 1},
      {"unreadable extension allows nothing", {extensaoIlegivel, valido}, 1},
      {"expired with client purposes counts as expired",
       {expiradoDeCliente, soServidor, valido},
       2},
      {"all expired: the first", {expirado, expiradoDeCliente, expirado}, 0},
      {"none preferred: the first", {soServidor, expirado}, 0},
      {"nothing matches", {}, std::nullopt},
  };
  for (const auto& c : casos) EXPECT_EQ(EscolherCertificado(c.Candidatos), c.Escolhido) << c.Rotulo;
}

}  // namespace
}  // namespace tolvane
