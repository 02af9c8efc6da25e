// The windows' designed layout, on Qt's offscreen platform.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <cstdlib>

#include "gui/qt/aplicacao_qt.h"
#include "gui/qt/caixa_mensagem.h"
#include "gui/qt/frm_mensagem_confirmar_generica.h"
#include "gui/qt/frm_principal.h"
#include "gui/qt/frm_sobre.h"

namespace tolvane {
namespace {

class Janelas : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char nome[] = "janelas_tests";
    static char* argv[] = {nome, nullptr};
    FApp = new QApplication(argc, argv);  // lives for the whole test program
    FAplicacao = new AplicacaoQt(*FApp);
  }
  static QApplication* FApp;
  static AplicacaoQt* FAplicacao;
};
QApplication* Janelas::FApp = nullptr;
AplicacaoQt* Janelas::FAplicacao = nullptr;

struct Controle {
  const char* Nome;
  QRect Geometria;
};

void ConfereGeometrias(const QWidget& AJanela, std::initializer_list<Controle> AControles) {
  for (const auto& c : AControles) {
    const auto* w = AJanela.findChild<QWidget*>(QString::fromLatin1(c.Nome));
    ASSERT_NE(w, nullptr) << c.Nome;
    EXPECT_EQ(w->geometry(), c.Geometria) << c.Nome;
  }
}

TEST_F(Janelas, MainWindowLayout) {
  TfrmPrincipal frm(*FAplicacao);
  EXPECT_EQ(frm.windowTitle(), "tolvane Gestor");
  EXPECT_EQ(frm.size(), QSize(540, 357));
  EXPECT_EQ(frm.minimumSize(), frm.maximumSize());  // fixed border
  EXPECT_EQ(frm.pos(), QPoint(764, 175));
  EXPECT_FALSE(frm.windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(frm.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(frm.windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(frm.isVisible());  // created hidden

  ASSERT_EQ(frm.PageControl1->count(), 2);
  EXPECT_EQ(frm.PageControl1->tabText(0), "Controle");
  EXPECT_EQ(frm.PageControl1->tabText(1), "API Conformidade Facil");
  EXPECT_EQ(frm.PageControl1->currentWidget(), frm.TabSheet2);

  ConfereGeometrias(frm, {{"lblVersao", {144, 7, 225, 13}},
                          {"Bevel1", {0, 29, 535, 2}},
                          {"Bevel2", {0, 262, 538, 2}},
                          {"lblNomeArquivo", {84, 272, 445, 13}},
                          {"Bevel3", {0, 294, 538, 2}},
                          {"BitBtn1", {384, 301, 147, 25}},
                          {"cbListaCertificado", {24, 51, 505, 21}},
                          {"BitBtn2", {24, 80, 225, 25}}});
  EXPECT_EQ(frm.Label1->pos(), QPoint(24, 32));
  EXPECT_EQ(frm.lblVersao->text(), "VERSÃO:");
  EXPECT_TRUE(frm.lblNomeArquivo->text().isEmpty());
  EXPECT_EQ(frm.BitBtn1->text(), "Minimizar");
  EXPECT_FALSE(frm.BitBtn1->icon().isNull());
  EXPECT_EQ(frm.Label1->text(), "Selecione o Certificado Digital para Consulta");
  EXPECT_EQ(frm.BitBtn2->text(), "Testar Consulta");
  EXPECT_TRUE(frm.cbListaCertificado->isEditable());
  EXPECT_EQ(frm.cbListaCertificado->currentIndex(), -1);
  EXPECT_TRUE(frm.cbListaCertificado->currentText().isEmpty());
  // Tab goes from the combo box (its own line edit inside it) to the button.
  QWidget* proximo = frm.cbListaCertificado->nextInFocusChain();
  while (proximo && (frm.cbListaCertificado->isAncestorOf(proximo) ||
                     !(proximo->focusPolicy() & Qt::TabFocus)))
    proximo = proximo->nextInFocusChain();
  EXPECT_EQ(proximo, frm.BitBtn2);

  const auto acoes = frm.PopupMenu1->actions();
  ASSERT_EQ(acoes.size(), 3);
  EXPECT_EQ(acoes[0]->text(), "&Abrir tolvane Gestor");
  EXPECT_TRUE(acoes[1]->isSeparator());
  EXPECT_EQ(acoes[2]->text(), "&Sair");
}

TEST_F(Janelas, TrayHintShowsOnlyTheFirst127Characters) {
  TfrmPrincipal frm(*FAplicacao);
  EXPECT_TRUE(frm.TrayIcon1->Hint().isEmpty());
  frm.DefinirDicaBandeja(std::string(200, 'x'));
  EXPECT_EQ(frm.TrayIcon1->Hint(), QString(127, 'x'));
  frm.DefinirDicaBandeja("tolvane Gestor");
  EXPECT_EQ(frm.TrayIcon1->Hint(), "tolvane Gestor");
}

TEST_F(Janelas, CertificateComboIsRefilledInOrderWithNothingChosen) {
  TfrmPrincipal frm(*FAplicacao);
  frm.cbListaCertificado->setEditText("digitado");
  frm.LimparCertificados();
  EXPECT_EQ(frm.TextoCertificado(), "");
  for (const char* nome : {"Zeta", "Alfa", "Alfa", ""}) frm.AdicionarCertificado(nome);
  ASSERT_EQ(frm.cbListaCertificado->count(), 4);
  EXPECT_EQ(frm.cbListaCertificado->itemText(0), "Zeta");
  EXPECT_EQ(frm.cbListaCertificado->itemText(2), "Alfa");
  EXPECT_EQ(frm.TextoCertificado(), "");
  frm.cbListaCertificado->setCurrentIndex(1);
  EXPECT_EQ(frm.TextoCertificado(), "Alfa");
}

TEST_F(Janelas, InformationWindowLayout) {
  TfrmSobre frm(*FAplicacao);
  EXPECT_EQ(frm.windowTitle(), "tolvane Gestor");
  EXPECT_EQ(frm.size(), QSize(490, 208));
  EXPECT_EQ(frm.minimumSize(), frm.maximumSize());
  ConfereGeometrias(frm, {{"Bevel4", {8, 11, 473, 158}},
                          {"RxLabel1", {172, 15, 195, 39}},
                          {"Image1", {12, 14, 131, 152}},
                          {"lblMensagem", {164, 125, 286, 32}},
                          {"btnFechar", {406, 175, 75, 27}}});
  EXPECT_EQ(frm.lblVersao->pos(), QPoint(172, 74));
  EXPECT_EQ(frm.lblVersao->height(), 17);
  EXPECT_EQ(frm.lblVersao->text(), "Versão:");  // until the window is shown
  EXPECT_EQ(frm.lblVersao->font().family(), "Arial");
  EXPECT_EQ(frm.lblVersao->font().pixelSize(), 15);
  EXPECT_EQ(frm.RxLabel1->text(), "tolvane Gestor");
  EXPECT_TRUE(frm.RxLabel1->font().italic());
  EXPECT_EQ(frm.RxLabel1->font().pixelSize(), 24);
  EXPECT_EQ(frm.lblMensagem->text(),
            "Gestor de integração com os usuários do sistema tolvane Empresa");
  EXPECT_TRUE(frm.lblMensagem->wordWrap());
  EXPECT_EQ(frm.btnFechar->text(), "&Minimizar");
  EXPECT_EQ(frm.btnFechar->focusPolicy() & Qt::TabFocus, Qt::TabFocus);
  EXPECT_FALSE(frm.lblVersao->focusPolicy() & Qt::TabFocus);  // selectable by mouse only
  EXPECT_FALSE(frm.btnFechar->icon().isNull());
  // The logo is the 131 x 152 colour JPEG decoded from the program's own resources.
  const QPixmap logo = frm.Image1->pixmap();
  EXPECT_EQ(logo.size(), QSize(131, 152));
  EXPECT_FALSE(logo.toImage().allGray());
}

TEST_F(Janelas, NoticeWindowModes) {
  struct Caso {
    bool Confirmacao;
    int Altura;
  };
  for (const Caso c : {Caso{true, 200}, Caso{false, 80}}) {
    MostrarAviso(*FAplicacao, "Texto do aviso", c.Confirmacao, false);
    QPointer<TfrmMensagemConfirmarGenerica> frm = frmMensagemConfirmarGenerica;
    ASSERT_TRUE(frm);
    EXPECT_EQ(frm->windowTitle(), "Aviso do Sistema");
    EXPECT_EQ(frm->frameGeometry().size(), QSize(540, c.Altura));
    EXPECT_EQ(frm->pos(), QPoint(0, 0));
    EXPECT_EQ(frm->lblMensagem->text(), "Texto do aviso");
    EXPECT_EQ(frm->lblMensagem->geometry(), QRect(8, 16, 517, 72));
    EXPECT_EQ(frm->ckbConcordo->isVisible(), c.Confirmacao);
    EXPECT_EQ(frm->btnOk->isVisible(), c.Confirmacao);
    EXPECT_FALSE(frm->btnOk->isEnabled());
    EXPECT_FALSE(frm->windowFlags() & Qt::WindowCloseButtonHint);
    if (c.Confirmacao) {
      frm->ckbConcordo->click();
      EXPECT_TRUE(frm->btnOk->isEnabled());
      frm->ckbConcordo->click();
      EXPECT_FALSE(frm->btnOk->isEnabled());
      frm->ckbConcordo->click();
      frm->btnOk->click();
    } else {
      frm->close();
    }
    EXPECT_FALSE(frmMensagemConfirmarGenerica);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(frm);  // freed, not merely hidden
  }
}

TEST_F(Janelas, SecondNoticeTakesTheReferenceAndClosingEitherClearsIt) {
  MostrarAviso(*FAplicacao, "primeiro", true, false);
  QPointer<TfrmMensagemConfirmarGenerica> primeiro = frmMensagemConfirmarGenerica;
  MostrarAviso(*FAplicacao, "segundo", true, false);
  QPointer<TfrmMensagemConfirmarGenerica> segundo = frmMensagemConfirmarGenerica;
  EXPECT_NE(primeiro, segundo);
  primeiro->close();
  EXPECT_FALSE(frmMensagemConfirmarGenerica);
  segundo->close();
}

TEST_F(Janelas, MessageBoxCopiesItsTextInTheWindowsLayout) {
  CaixaMensagem caixa(QStringLiteral("Falha.\rO Sistema será finalizado."),
                      QStringLiteral("Aviso do Sistema"), MB_ICONWARNING, nullptr);
  EXPECT_EQ(caixa.windowTitle(), "Aviso do Sistema");
  EXPECT_EQ(caixa.icon(), QMessageBox::Warning);
  EXPECT_EQ(caixa.text(), "Falha.\nO Sistema será finalizado.");  // a lone CR breaks the line
  QKeyEvent copiar(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier);
  QApplication::sendEvent(&caixa, &copiar);
  EXPECT_EQ(QGuiApplication::clipboard()->text(),
            "---------------------------\nAviso do Sistema\n---------------------------\n"
            "Falha.\rO Sistema será finalizado.\n---------------------------\nOK   \n"
            "---------------------------\n");
  CaixaMensagem erro(QStringLiteral("<b>x</b>"), QStringLiteral("tolvane Gestor"), MB_ICONERROR,
                     nullptr);
  EXPECT_EQ(erro.icon(), QMessageBox::Critical);
  EXPECT_EQ(erro.textFormat(), Qt::PlainText);  // texts from outside are never markup
}

}  // namespace
}  // namespace tolvane
