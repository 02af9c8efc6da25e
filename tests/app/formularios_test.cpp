// The flows of the three windows, written once for both frontends, against a frontend that
// records what they ask of it.

#include <gtest/gtest.h>

#include <stdexcept>

#include "app/aplicacao_janelas_gravadora.h"
#include "app/entrada.h"
#include "app/frm_mensagem_confirmar_generica.h"
#include "app/frm_principal.h"
#include "app/frm_sobre.h"
#include "app/layouts.h"
#include "comum/aplicacao_gravadora.h"
#include "comum/arquivos_teste.h"
#include "comum/variavel_ambiente.h"

namespace tolvane {
namespace {

using Linhas = std::vector<std::string>;

TEST(MostrarAviso, StepsInOrderForEachMode) {
  struct Caso {
    bool Confirmacao;
    bool FecharAutomatico;
    Linhas Esperado;
  };
  const std::string j = "frmMensagemConfirmarGenerica.";
  const auto passos = [&](bool AConfirmacao) {
    const std::string v = AConfirmacao ? "1)" : "0)";
    return Linhas{"CriarJanela frmMensagemConfirmarGenerica",
                  j + "Show",
                  j + "SetVisible(Panel1, " + v,
                  j + "SetVisible(ckbConcordo, " + v,
                  j + "SetVisible(btnOk, " + v,
                  j + "SetOuterSize(540, " + (AConfirmacao ? "200)" : "80)"),
                  j + "Repaint",
                  j + "SetText(lblMensagem, Texto)",
                  j + "RepaintControl(lblMensagem)",
                  "ProcessMessages"};
  };
  const auto comFechamento = [&](Linhas ALinhas) {
    ALinhas.insert(ALinhas.end(), {"Sleep(5000)", j + "Close"});
    return ALinhas;
  };
  const Caso casos[] = {
      {false, true, comFechamento(passos(false))},
      {true, true, comFechamento(passos(true))},
      {false, false, passos(false)},
      {true, false, passos(true)},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(std::to_string(c.Confirmacao) + std::to_string(c.FecharAutomatico));
    teste::AplicacaoJanelasGravadora app;
    app.MostrarAviso("Texto", c.Confirmacao, c.FecharAutomatico);
    EXPECT_EQ(app.Registro, c.Esperado);
    // Closed by the wait, the reference is empty; else it names the open window.
    EXPECT_EQ(frmMensagemConfirmarGenerica == nullptr, c.FecharAutomatico);
    if (frmMensagemConfirmarGenerica) frmMensagemConfirmarGenerica->btnOkClick();
    EXPECT_EQ(frmMensagemConfirmarGenerica, nullptr);
  }
}

TEST(MostrarAviso, CheckBoxDrivesOkAndAWindowClosedMeanwhileIsNotClosedAgain) {
  teste::AplicacaoJanelasGravadora app;
  app.MostrarAviso("um", true, false);
  TfrmMensagemConfirmarGenerica* primeiro = frmMensagemConfirmarGenerica;
  const std::weak_ptr<const void> vida = primeiro->Vida();
  app.Registro.clear();
  app.Eventos("frmMensagemConfirmarGenerica").Click("ckbConcordo");
  EXPECT_EQ(app.Registro, Linhas{"frmMensagemConfirmarGenerica.SetEnabled(btnOk, 0)"});

  // A second notice takes the reference; closing the first empties it all the same, and the
  // first is freed once the event that closed it is over.
  app.MostrarAviso("dois", true, false);
  TfrmMensagemConfirmarGenerica* segundo = frmMensagemConfirmarGenerica;
  EXPECT_NE(primeiro, segundo);
  primeiro->btnOkClick();
  EXPECT_EQ(frmMensagemConfirmarGenerica, nullptr);
  EXPECT_FALSE(vida.expired());
  app.RodarFila();
  EXPECT_TRUE(vida.expired());
  segundo->btnOkClick();
  app.RodarFila();
}

// Keeps its record when the entry that owns it is left by the end of the process.
class AplicacaoDaEntrada : public teste::AplicacaoJanelasGravadora {
 public:
  explicit AplicacaoDaEntrada(Linhas& ADestino) : FDestino(ADestino) {}
  ~AplicacaoDaEntrada() override { FDestino = Registro; }

 private:
  Linhas& FDestino;
};

TEST(Entrada, StepsUpToTheFirstFatalFailure) {
  // No display: the guard finds nothing. The test program has no INI file beside it, so the
  // start-up sequence ends the process at its first step.
  const teste::VariavelAmbiente semTela("DISPLAY", std::nullopt);
  Linhas registro;
  try {
    Entrada([&] { return std::make_unique<AplicacaoDaEntrada>(registro); });
    ADD_FAILURE() << "the missing INI file did not end the process";
  } catch (const teste::FimDoProcesso& fim) {
    EXPECT_EQ(fim.Codigo, kSaidaFalhaFatal);
  }
  EXPECT_EQ(registro, (Linhas{"Initialize", "Title tolvane Gestor", "CriarJanela frmPrincipal",
                              "CriarBandeja PopupMenu1",
                              "MessageBox(Aviso do Sistema, 16): Não foi encontrado o arquivo de "
                              "inicialização",
                              "EncerrarProcesso(1)"}));
}

class FormPrincipal : public ::testing::Test {
 protected:
  teste::AplicacaoJanelasGravadora FApp;
  // Built without its FormCreate: the handlers alone.
  TfrmPrincipal FForm{FApp};
};

// The forms reach their controls by the names that the layouts give; a name the window lacks
// (a typo) would do nothing in a real frontend, so the recording one refuses it aloud.
TEST_F(FormPrincipal, AControlNameTheWindowLacksFailsLoudly) {
  Janela& janela = FForm.Window();
  EXPECT_NO_THROW(janela.SetText(frm_principal::kCbListaCertificado, "x"));
  EXPECT_THROW(janela.SetText("cbListaCertificados", "x"), std::logic_error);
  EXPECT_THROW(janela.Checked("BitBtn3"), std::logic_error);
  EXPECT_THROW(FApp.CriarBandeja(janela, "PopupMenu2"), std::logic_error);
}

TEST_F(FormPrincipal, MinimizarHidesTheWindowAndTheIconStays) {
  FForm.TrayIcon1().SetIconVisible(true);
  FApp.Registro.clear();
  FApp.Eventos("frmPrincipal").Click("BitBtn1");
  EXPECT_EQ(FApp.Registro, Linhas{"frmPrincipal.Hide"});  // the icon is there and stays
  EXPECT_TRUE(FForm.TrayIcon1().IconVisible());
}

TEST_F(FormPrincipal, ClosingTheMainWindowRequestsTheEndWithoutTheDatabaseStep) {
  EventosJanela& eventos = FApp.Eventos("frmPrincipal");
  EXPECT_TRUE(eventos.CloseQuery());
  FApp.Registro.clear();
  eventos.FormClose();
  EXPECT_EQ(FApp.Registro, Linhas{"Terminate"});
}

TEST_F(FormPrincipal, AbrirOpensANewInformationWindowModallyEachTimeWithItsVersion) {
  const teste::VariavelAmbiente regional("LC_ALL", "pt_BR.UTF-8");
  FApp.SetShowMainForm(true);
  for (int vez = 0; vez < 2; ++vez) {
    FApp.Registro.clear();
    FApp.Eventos("frmPrincipal").Click("SobreotolvaneAssistente1");
    const Linhas r = FApp.Registro;
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(r[0], "CriarJanela frmSobre");
    EXPECT_EQ(r[1].rfind("frmSobre.SetText(lblVersao, Versão: ", 0), 0u) << r[1];
    EXPECT_EQ(r[2], "frmSobre.RepaintControl(lblVersao)");
    EXPECT_EQ(r[3], "frmSobre.ShowModal");
    EXPECT_FALSE(FApp.ShowMainForm());
  }
}

TEST_F(FormPrincipal, ErrorsOfAHandlerGoToTheDefaultDisplay) {
  // "Testar Consulta" against a service that refuses the connection: the error is shown,
  // captioned with the title, with the error icon, and the program goes on.
  const teste::PastaTemporaria pasta;
  const teste::VariavelAmbiente dados("XDG_DATA_HOME", pasta / "dados");
  const teste::VariavelAmbiente servico("TOLVANE_CLASSTRIB_URL", "https://127.0.0.1:1/api");
  FApp.SetTitle("tolvane Gestor");
  FApp.Registro.clear();
  FApp.Eventos("frmPrincipal").Click("BitBtn2");
  ASSERT_FALSE(FApp.Registro.empty());
  EXPECT_EQ(FApp.Registro.back().rfind("MessageBox(tolvane Gestor, 16): ", 0), 0u)
      << FApp.Registro.back();
}

TEST(RestaurarMainForm, NormalStateFirstThenShownAndInFront) {
  for (const bool minimizada : {false, true}) {
    teste::AplicacaoJanelasGravadora app;
    app.CreateForm<TfrmSobre>();  // any form: the first one is the main window
    app.Minimizada = minimizada;
    app.Registro.clear();
    app.RestaurarMainForm();
    Linhas esperado{"frmSobre.Show", "frmSobre.BringToFront"};
    if (minimizada) esperado.insert(esperado.begin(), "frmSobre.ShowNormal");
    EXPECT_EQ(app.Registro, esperado);
  }
}

TEST(Run, ShowsTheMainWindowOnlyWhenMarked) {
  for (const bool mostrar : {false, true}) {
    teste::AplicacaoJanelasGravadora app;
    app.CreateForm<TfrmSobre>();
    app.SetShowMainForm(mostrar);
    app.Registro.clear();
    app.Run();
    const Linhas esperado =
        mostrar ? Linhas{"frmSobre.Show", "frmSobre.BringToFront", "Run loop"} : Linhas{"Run loop"};
    EXPECT_EQ(app.Registro, esperado);
  }
}

}  // namespace
}  // namespace tolvane
