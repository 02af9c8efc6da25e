#include "app/principal.h"

#include <gtest/gtest.h>

#include "comum/aplicacao_gravadora.h"

namespace tolvane {
namespace {

class JanelaGravadora : public JanelaPrincipal {
 public:
  std::string Dica;
  std::vector<std::string> Certificados;
  std::string Texto;

  void DefinirDicaBandeja(const std::string& ADica) override { Dica = ADica; }
  void LimparCertificados() override {
    Certificados.clear();
    Texto.clear();
  }
  void AdicionarCertificado(const std::string& ANome) override { Certificados.push_back(ANome); }
  std::string TextoCertificado() const override { return Texto; }
};

TEST(Principal, StartUpSetsTheHintLetsMessagesThroughAndMarksTheWindowToBeShown) {
  teste::AplicacaoGravadora app;
  JanelaGravadora janela;
  Principal principal(app, janela);
  principal.FormCreate();
  EXPECT_EQ(janela.Dica, "tolvane Gestor");
  EXPECT_EQ(app.Chamadas, std::vector<std::string>{"ProcessMessages"});
  EXPECT_TRUE(app.Mostrar);
}

TEST(Principal, SairLetsMessagesThroughThenRequestsTheEnd) {
  teste::AplicacaoGravadora app;
  JanelaGravadora janela;
  Principal principal(app, janela);
  principal.Sair1Click();
  EXPECT_EQ(app.Chamadas, (std::vector<std::string>{"ProcessMessages", "Terminate"}));
}

}  // namespace
}  // namespace tolvane
