// The certificate selector: how its text reads and which certificate it takes.
#include "platform/seletor_certificado.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace tolvane
