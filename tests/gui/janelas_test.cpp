// The Qt windows built from their layouts, and the flows that drive them, on Qt's offscreen
// platform.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <cstdlib>
#include <cstring>

#include "app/frm_mensagem_confirmar_generica.h"
#include "app/frm_sobre.h"
#include "app/icone_bandeja.h"
#include "app/layouts.h"
#include "gui/qt/aplicacao_qt.h"
#include "gui/qt/bandeja_qt.h"
#include "gui/qt/caixa_mensagem.h"
#include "gui/qt/imagem_png.h"
#include "gui/qt/janela_qt.h"

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

// The program's pictures go through libpng, not Qt's readers: the same pixels either way, and
// no picture from what is no PNG.
TEST_F(Janelas, PngPicturesDecodeToTheSamePixelsAsQtsOwnReader) {
  for (const char* nome : {":/tolvane/icone.png", ":/tolvane/seta_baixo.png",
                           ":/tolvane/seta_baixo_desabilitada.png", ":/tolvane/ok.png"}) {
    SCOPED_TRACE(nome);
    QFile arquivo(QString::fromLatin1(nome));
    ASSERT_TRUE(arquivo.open(QIODevice::ReadOnly));
    const QImage nossa = DecodificarPng(arquivo.readAll());
    ASSERT_FALSE(nossa.isNull());
    // Qt's reader tags its image with the file's colour space; the pixels are what is drawn.
    const QImage doQt = QImage(QString::fromLatin1(nome)).convertToFormat(QImage::Format_RGBA8888);
    ASSERT_EQ(nossa.size(), doQt.size());
    ASSERT_EQ(nossa.format(), doQt.format());
    for (int y = 0; y < nossa.height(); ++y)
      ASSERT_EQ(std::memcmp(nossa.constScanLine(y), doQt.constScanLine(y),
                            static_cast<std::size_t>(nossa.width()) * 4),
                0)
          << "row " << y;
  }
  EXPECT_TRUE(DecodificarPng(QByteArray("isto não é um PNG")).isNull());
  EXPECT_TRUE(DecodificarPng(QByteArray()).isNull());
}

// A form without handlers, to build a bare window of a layout.
class SemEventos : public EventosJanela {
 public:
  void Click(std::string_view) noexcept override {}
  bool CloseQuery() noexcept override { return true; }
  void FormClose() noexcept override {}
};

QString Q(std::string_view ATexto) {
  return QString::fromUtf8(ATexto.data(), static_cast<qsizetype>(ATexto.size()));
}

// Every row of the layout against the widget built for it.
void ConfereLayout(const JanelaQt& AJanela, const LayoutJanela& ALayout) {
  EXPECT_EQ(AJanela.objectName(), Q(ALayout.Nome));
  EXPECT_EQ(AJanela.windowTitle(), Q(ALayout.Caption));
  EXPECT_EQ(AJanela.size(), QSize(ALayout.LarguraCliente, ALayout.AlturaCliente));
  EXPECT_EQ(AJanela.minimumSize(), AJanela.maximumSize());  // fixed border
  EXPECT_FALSE(AJanela.windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(AJanela.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(bool(AJanela.windowFlags() & Qt::WindowCloseButtonHint), ALayout.BotoesTitulo);
  EXPECT_EQ(AJanela.font().family(), Q(ALayout.FonteJanela.Familia));
  EXPECT_EQ(AJanela.font().pixelSize(), ALayout.FonteJanela.Pixels);
  EXPECT_EQ(AJanela.windowIcon().isNull(), !ALayout.IconePrograma);
  EXPECT_FALSE(AJanela.isVisible());  // created hidden

  for (const Controle& c : ALayout.Controles) {
    SCOPED_TRACE(std::string(c.Nome));
    if (c.Tipo == TipoControle::Menu) {
      EXPECT_NE(AJanela.Menu(c.Nome), nullptr);
      continue;
    }
    if (c.Tipo == TipoControle::ItemMenu || c.Tipo == TipoControle::SeparadorMenu) {
      const QList<QAction*> acoes = AJanela.Menu(c.Pai)->actions();
      const auto it = std::find_if(acoes.begin(), acoes.end(),
                                   [&](QAction* a) { return a->objectName() == Q(c.Nome); });
      ASSERT_NE(it, acoes.end());
      EXPECT_EQ((*it)->isSeparator(), c.Tipo == TipoControle::SeparadorMenu);
      if (!(*it)->isSeparator()) {
        EXPECT_EQ((*it)->text(), Q(c.Texto));
      }
      continue;
    }
    const QWidget* w = AJanela.Widget(c.Nome);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->objectName(), Q(c.Nome));
    if (c.Tipo == TipoControle::Pagina) {
      const auto* paginas = qobject_cast<const QTabWidget*>(AJanela.Widget(c.Pai));
      ASSERT_NE(paginas, nullptr);
      EXPECT_EQ(paginas->tabText(paginas->indexOf(const_cast<QWidget*>(w))), Q(c.Texto));
      if (c.PaginaInicial) {
        EXPECT_EQ(paginas->currentWidget(), w);
      }
      continue;
    }
    EXPECT_EQ(w->pos(), QPoint(c.Esquerda, c.Topo));
    if (c.Largura != kTamanhoDoTexto) {
      EXPECT_EQ(w->width(), c.Largura);
    }
    if (c.Altura != kTamanhoDoTexto) {
      EXPECT_EQ(w->height(), c.Altura);
    }
    EXPECT_EQ(!w->isHidden(), c.Visivel);
    EXPECT_EQ(w->isEnabled(), c.Habilitado);
    if (c.FontePropria) {
      EXPECT_EQ(w->font().family(), Q(c.FontePropria->Familia));
      EXPECT_EQ(w->font().pixelSize(), c.FontePropria->Pixels);
      EXPECT_EQ(w->font().italic(), c.FontePropria->Italica);
    }
    if (const auto* rotulo = qobject_cast<const QLabel*>(w); rotulo && !c.Texto.empty()) {
      EXPECT_EQ(rotulo->text(), Q(c.Texto));
      EXPECT_EQ(rotulo->wordWrap(), c.QuebraPalavras);
      EXPECT_EQ(bool(rotulo->alignment() & Qt::AlignHCenter), c.Centralizado);
    }
    if (const auto* botao = qobject_cast<const QAbstractButton*>(w)) {
      EXPECT_EQ(botao->text(), Q(c.Texto));
      EXPECT_EQ(botao->icon().isNull(), c.Imagem == Figura::Nenhuma);
    }
    if (const auto* combo = qobject_cast<const QComboBox*>(w)) {
      EXPECT_EQ(combo->isEditable(), c.Digitavel);
      EXPECT_EQ(combo->currentIndex(), -1);
      EXPECT_TRUE(combo->currentText().isEmpty());
    }
    // Tab reaches exactly the controls that have a place in the tab order (a panel's place is
    // that of the controls inside it).
    if (c.Tipo != TipoControle::PaginaControle && c.Tipo != TipoControle::Painel) {
      EXPECT_EQ(bool(w->focusPolicy() & Qt::TabFocus), c.OrdemTab >= 0);
    }
  }
}

// The next control that Tab reaches after AInicio, skipping the inner parts of AInicio.
const QWidget* ProximoNoTab(const QWidget* AInicio) {
  const QWidget* proximo = AInicio->nextInFocusChain();
  while (proximo && (AInicio->isAncestorOf(proximo) || !(proximo->focusPolicy() & Qt::TabFocus)))
    proximo = proximo->nextInFocusChain();
  return proximo;
}

TEST_F(Janelas, EachWindowIsBuiltAsItsLayoutSays) {
  for (const LayoutJanela* layout :
       {&LayoutFrmPrincipal(), &LayoutFrmSobre(), &LayoutFrmMensagemConfirmarGenerica()}) {
    SCOPED_TRACE(std::string(layout->Nome));
    SemEventos eventos;
    const JanelaQt janela(*FAplicacao, *layout, eventos);
    ConfereLayout(janela, *layout);
  }
}

TEST_F(Janelas, MainWindowTabOrderComboAndPictures) {
  SemEventos eventos;
  JanelaQt janela(*FAplicacao, LayoutFrmPrincipal(), eventos);
  // Tab goes from the combo box (its own line edit inside it) to the button.
  EXPECT_EQ(ProximoNoTab(janela.Widget("cbListaCertificado")), janela.Widget("BitBtn2"));
  EXPECT_EQ(janela.pos(), QPoint(764, 175));

  // The list is refilled in order with nothing chosen; its text is what is chosen or typed.
  auto* combo = qobject_cast<QComboBox*>(janela.Widget("cbListaCertificado"));
  combo->setEditText("digitado");
  EXPECT_EQ(janela.Text("cbListaCertificado"), "digitado");
  janela.ClearItems("cbListaCertificado");
  EXPECT_EQ(janela.Text("cbListaCertificado"), "");
  for (const char* nome : {"Zeta", "Alfa", "Alfa", ""}) janela.AddItem("cbListaCertificado", nome);
  ASSERT_EQ(combo->count(), 4);
  EXPECT_EQ(combo->itemText(0), "Zeta");
  EXPECT_EQ(combo->itemText(2), "Alfa");
  EXPECT_EQ(janela.Text("cbListaCertificado"), "");
  combo->setCurrentIndex(1);
  EXPECT_EQ(janela.Text("cbListaCertificado"), "Alfa");
}

TEST_F(Janelas, InformationWindowLogoAndVersionLabel) {
  TfrmSobre& frm = FAplicacao->CreateForm<TfrmSobre>();
  auto& janela = static_cast<JanelaQt&>(frm.Window());
  // The logo is the 131 x 152 colour JPEG decoded from the program's own resources.
  const QPixmap logo = qobject_cast<QLabel*>(janela.Widget("Image1"))->pixmap();
  EXPECT_EQ(logo.size(), QSize(131, 152));
  EXPECT_FALSE(logo.toImage().allGray());
  // The version label is as wide as its text, 17 high, and can be selected but not tabbed to.
  auto* versao = qobject_cast<QLabel*>(janela.Widget("lblVersao"));
  janela.SetText("lblVersao", "Versão: 25/03/2024 14:37");
  EXPECT_EQ(versao->width(), versao->sizeHint().width());
  EXPECT_EQ(versao->height(), 17);
  EXPECT_TRUE(versao->textInteractionFlags() & Qt::TextSelectableByMouse);
  EXPECT_EQ(janela.focusWidget(), janela.Widget("btnFechar"));
}

TEST_F(Janelas, TrayHintShowsOnlyTheFirst127Characters) {
  SemEventos eventos;
  JanelaQt janela(*FAplicacao, LayoutFrmPrincipal(), eventos);
  auto bandeja = std::make_unique<BandejaQt>(*janela.Menu("PopupMenu1"));
  BandejaQt& qt = *bandeja;
  IconeBandeja icone(janela, std::move(bandeja));
  EXPECT_TRUE(qt.Dica().isEmpty());
  icone.SetHint(std::string(200, 'x'));
  EXPECT_EQ(qt.Dica(), QString(127, 'x'));
  icone.SetHint(std::string(130, 'x') + "ç");
  EXPECT_EQ(qt.Dica(), QString(127, 'x'));  // characters, not bytes
  icone.SetHint("tolvane Gestor");
  EXPECT_EQ(qt.Dica(), "tolvane Gestor");
}

TEST_F(Janelas, NoticeWindowModes) {
  struct Caso {
    bool Confirmacao;
    int Altura;
  };
  for (const Caso c : {Caso{true, 200}, Caso{false, 80}}) {
    MostrarAviso(*FAplicacao, "Texto do aviso", c.Confirmacao, false);
    ASSERT_NE(frmMensagemConfirmarGenerica, nullptr);
    QPointer<JanelaQt> janela = &static_cast<JanelaQt&>(frmMensagemConfirmarGenerica->Window());
    EXPECT_TRUE(janela->isVisible());
    EXPECT_EQ(janela->frameGeometry().size(), QSize(540, c.Altura));
    EXPECT_EQ(janela->pos(), QPoint(0, 0));
    EXPECT_EQ(janela->Text("lblMensagem"), "Texto do aviso");
    EXPECT_EQ(janela->Widget("lblMensagem")->geometry(), QRect(8, 16, 517, 72));
    // The panel stays docked to the bottom edge at full width.
    EXPECT_EQ(janela->Widget("Panel1")->geometry(),
              QRect(0, janela->height() - 40, janela->width(), 40));
    auto* ok = qobject_cast<QAbstractButton*>(janela->Widget("btnOk"));
    auto* concordo = qobject_cast<QAbstractButton*>(janela->Widget("ckbConcordo"));
    EXPECT_EQ(concordo->isVisible(), c.Confirmacao);
    EXPECT_EQ(ok->isVisible(), c.Confirmacao);
    EXPECT_FALSE(ok->isEnabled());
    if (c.Confirmacao) {
      concordo->click();
      EXPECT_TRUE(ok->isEnabled());
      concordo->click();
      EXPECT_FALSE(ok->isEnabled());
      concordo->click();
      ok->click();
    } else {
      janela->close();
    }
    EXPECT_EQ(frmMensagemConfirmarGenerica, nullptr);
    QCoreApplication::processEvents();
    EXPECT_FALSE(janela);  // freed, not merely hidden
  }
}

TEST_F(Janelas, SecondNoticeTakesTheReferenceAndClosingEitherClearsIt) {
  MostrarAviso(*FAplicacao, "primeiro", true, false);
  TfrmMensagemConfirmarGenerica* primeiro = frmMensagemConfirmarGenerica;
  MostrarAviso(*FAplicacao, "segundo", true, false);
  TfrmMensagemConfirmarGenerica* segundo = frmMensagemConfirmarGenerica;
  EXPECT_NE(primeiro, segundo);
  primeiro->Window().Close();
  EXPECT_EQ(frmMensagemConfirmarGenerica, nullptr);
  segundo->Window().Close();
  QCoreApplication::processEvents();
}

TEST_F(Janelas, MessageBoxCopiesItsTextInTheWindowsLayout) {
  CaixaMensagem caixa(QStringLiteral("Falha.\rO Sistema será finalizado."),
                      QStringLiteral("Aviso do Sistema"), kMbIconWarning, nullptr);
  EXPECT_EQ(caixa.windowTitle(), "Aviso do Sistema");
  EXPECT_EQ(caixa.icon(), QMessageBox::Warning);
  EXPECT_EQ(caixa.text(), "Falha.\nO Sistema será finalizado.");  // a lone CR breaks the line
  QKeyEvent copiar(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier);
  QApplication::sendEvent(&caixa, &copiar);
  EXPECT_EQ(QGuiApplication::clipboard()->text(),
            "---------------------------\nAviso do Sistema\n---------------------------\n"
            "Falha.\rO Sistema será finalizado.\n---------------------------\nOK   \n"
            "---------------------------\n");
  CaixaMensagem erro(QStringLiteral("<b>x</b>"), QStringLiteral("tolvane Gestor"), kMbIconError,
                     nullptr);
  EXPECT_EQ(erro.icon(), QMessageBox::Critical);
  EXPECT_EQ(erro.textFormat(), Qt::PlainText);  // texts from outside are never markup
}

}  // namespace
}  // namespace tolvane
