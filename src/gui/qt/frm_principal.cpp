#include "gui/qt/frm_principal.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLineEdit>

#include "gui/qt/aplicacao_qt.h"
#include "gui/qt/frm_sobre.h"
#include "gui/qt/imagens.h"

namespace tolvane {

namespace {

QFrame* LinhaGravada(QWidget* APai, const char* ANome, int AX, int AY, int ALargura) {
  auto* linha = new QFrame(APai);
  linha->setObjectName(QString::fromLatin1(ANome));
  linha->setFrameShape(QFrame::HLine);
  linha->setFrameShadow(QFrame::Sunken);
  linha->setGeometry(AX, AY, ALargura, 2);
  return linha;
}

}  // namespace

TfrmPrincipal::TfrmPrincipal(AplicacaoQt& AAplicacao)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint),
      FAplicacao(AAplicacao),
      FLogica(AAplicacao, *this) {
  setObjectName(QStringLiteral("frmPrincipal"));
  setWindowTitle(QStringLiteral("tolvane Gestor"));
  setWindowIcon(IconePrograma());
  QFont fonte(QStringLiteral("MS Sans Serif"));
  fonte.setPixelSize(11);
  setFont(fonte);
  setFixedSize(540, 357);
  move(764, 175);

  PageControl1 = new QTabWidget(this);
  PageControl1->setObjectName(QStringLiteral("PageControl1"));
  PageControl1->setGeometry(0, 0, 540, 357);

  TabSheet1 = new QWidget();
  TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
  lblVersao = new QLabel(QStringLiteral("VERSÃO:"), TabSheet1);
  lblVersao->setObjectName(QStringLiteral("lblVersao"));
  lblVersao->setGeometry(144, 7, 225, 13);
  lblVersao->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  Bevel1 = LinhaGravada(TabSheet1, "Bevel1", 0, 29, 535);
  Bevel2 = LinhaGravada(TabSheet1, "Bevel2", 0, 262, 538);
  lblNomeArquivo = new QLabel(TabSheet1);
  lblNomeArquivo->setObjectName(QStringLiteral("lblNomeArquivo"));
  lblNomeArquivo->setGeometry(84, 272, 445, 13);
  Bevel3 = LinhaGravada(TabSheet1, "Bevel3", 0, 294, 538);
  BitBtn1 = new QPushButton(QStringLiteral("Minimizar"), TabSheet1);
  BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
  BitBtn1->setIcon(IconeSetaBaixo());
  BitBtn1->setGeometry(384, 301, 147, 25);
  connect(BitBtn1, &QPushButton::clicked, this, [this] { Tratar([this] { BitBtn1Click(); }); });

  TabSheet2 = new QWidget();
  TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
  Label1 = new QLabel(QStringLiteral("Selecione o Certificado Digital para Consulta"), TabSheet2);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->move(24, 32);
  Label1->adjustSize();
  cbListaCertificado = new QComboBox(TabSheet2);
  cbListaCertificado->setObjectName(QStringLiteral("cbListaCertificado"));
  cbListaCertificado->setEditable(true);
  cbListaCertificado->setInsertPolicy(QComboBox::NoInsert);
  cbListaCertificado->setGeometry(24, 51, 505, 21);
  cbListaCertificado->setCurrentIndex(-1);
  BitBtn2 = new QPushButton(QStringLiteral("Testar Consulta"), TabSheet2);
  BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
  BitBtn2->setGeometry(24, 80, 225, 25);
  connect(BitBtn2, &QPushButton::clicked, this, [this] { Tratar([this] { BitBtn2Click(); }); });
  setTabOrder(cbListaCertificado, BitBtn2);

  PageControl1->addTab(TabSheet1, QStringLiteral("Controle"));
  PageControl1->addTab(TabSheet2, QStringLiteral("API Conformidade Facil"));
  PageControl1->setCurrentWidget(TabSheet2);
  PageControl1->setFocus();

  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
  SobreotolvaneAssistente1 = PopupMenu1->addAction(QStringLiteral("&Abrir tolvane Gestor"));
  SobreotolvaneAssistente1->setObjectName(QStringLiteral("SobreotolvaneAssistente1"));
  N1 = PopupMenu1->addSeparator();
  N1->setObjectName(QStringLiteral("N1"));
  Sair1 = PopupMenu1->addAction(QStringLiteral("&Sair"));
  Sair1->setObjectName(QStringLiteral("Sair1"));
  connect(SobreotolvaneAssistente1, &QAction::triggered, this,
          [this] { Tratar([this] { SobreotolvaneAssistente1Click(); }); });
  connect(Sair1, &QAction::triggered, this, [this] { Tratar([this] { Sair1Click(); }); });

  TrayIcon1 = std::make_unique<IconeBandeja>(*this, *PopupMenu1);
}

TfrmPrincipal::~TfrmPrincipal() = default;

template <typename F>
void TfrmPrincipal::Tratar(F AManipulador) {
  try {
    AManipulador();
  } catch (const std::exception& e) {
    FAplicacao.MostrarErro(e);
  }
}

void TfrmPrincipal::FormCreate() { FLogica.FormCreate(); }

void TfrmPrincipal::BitBtn1Click() {
  TrayIcon1->HideMainForm();
  TrayIcon1->SetIconVisible(true);
}

void TfrmPrincipal::SobreotolvaneAssistente1Click() {
  TfrmSobre& frmSobre = FAplicacao.CreateForm<TfrmSobre>();
  FAplicacao.SetShowMainForm(false);
  // Modal to the main window and to the information windows already open, not to the whole
  // application: the tray icon and its menu keep working while it is open.
  QWidget* dono = QApplication::activeModalWidget();
  frmSobre.setParent(dono ? dono : this, frmSobre.windowFlags());
  frmSobre.setWindowModality(Qt::WindowModal);
  frmSobre.ShowModal();
}

void TfrmPrincipal::Sair1Click() { FLogica.Sair1Click(); }

void TfrmPrincipal::BitBtn2Click() { FLogica.BitBtn2Click(); }

void TfrmPrincipal::DefinirDicaBandeja(const std::string& ADica) {
  TrayIcon1->SetHint(QString::fromStdString(ADica));
}

void TfrmPrincipal::LimparCertificados() {
  cbListaCertificado->clear();
  cbListaCertificado->setEditText(QString());
}

void TfrmPrincipal::AdicionarCertificado(const std::string& ANome) {
  cbListaCertificado->addItem(QString::fromStdString(ANome));
  cbListaCertificado->setCurrentIndex(-1);
}

std::string TfrmPrincipal::TextoCertificado() const {
  return cbListaCertificado->currentText().toStdString();
}

void TfrmPrincipal::closeEvent(QCloseEvent* AEvento) {
  // Closing the main window ends the program; the database connection is left to the process end.
  AEvento->accept();
  FAplicacao.Terminate();
}

}  // namespace tolvane
