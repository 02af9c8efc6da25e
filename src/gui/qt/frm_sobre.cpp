#include "gui/qt/frm_sobre.h"

#include <QScreen>

#include "app/versao.h"
#include "gui/qt/aplicacao_qt.h"
#include "gui/qt/imagens.h"

namespace tolvane {

namespace {

QFont Fonte(const char* AFamilia, int APixels, bool AItalico = false) {
  QFont f(QString::fromLatin1(AFamilia));
  f.setPixelSize(APixels);
  f.setItalic(AItalico);
  return f;
}

}  // namespace

TfrmSobre::TfrmSobre(AplicacaoQt& AAplicacao)
    : QDialog(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint),
      FAplicacao(AAplicacao) {
  setObjectName(QStringLiteral("frmSobre"));
  setWindowTitle(QStringLiteral("tolvane Gestor"));
  setWindowIcon(IconePrograma());
  setFont(Fonte("Tahoma", 11));
  setFixedSize(490, 208);

  Bevel4 = new QFrame(this);
  Bevel4->setObjectName(QStringLiteral("Bevel4"));
  Bevel4->setFrameStyle(QFrame::Box | QFrame::Sunken);
  Bevel4->setGeometry(8, 11, 473, 158);

  lblVersao = new QLabel(QStringLiteral("Versão:"), this);
  lblVersao->setObjectName(QStringLiteral("lblVersao"));
  lblVersao->setFont(Fonte("Arial", 15));
  QPalette preto = lblVersao->palette();
  preto.setColor(QPalette::WindowText, Qt::black);
  lblVersao->setPalette(preto);
  // Users copy the version into support chats: the text can be selected with the mouse.
  lblVersao->setTextInteractionFlags(Qt::TextSelectableByMouse);
  lblVersao->move(172, 74);
  lblVersao->adjustSize();
  lblVersao->resize(lblVersao->width(), 17);

  RxLabel1 = new RotuloSombra(QStringLiteral("tolvane Gestor"), this);
  RxLabel1->setObjectName(QStringLiteral("RxLabel1"));
  RxLabel1->setFont(Fonte("Arial", 24, true));
  QPalette azul = RxLabel1->palette();
  azul.setColor(QPalette::WindowText, Qt::blue);
  RxLabel1->setPalette(azul);
  RxLabel1->setGeometry(172, 15, 195, 39);

  Image1 = new QLabel(this);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setGeometry(12, 14, 131, 152);
  Image1->setPixmap(QPixmap::fromImage(Logo()));

  lblMensagem = new QLabel(
      QStringLiteral("Gestor de integração com os usuários do sistema tolvane Empresa"), this);
  lblMensagem->setObjectName(QStringLiteral("lblMensagem"));
  lblMensagem->setFont(Fonte("Tahoma", 13));
  lblMensagem->setWordWrap(true);
  lblMensagem->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  lblMensagem->setGeometry(164, 125, 286, 32);

  btnFechar = new QPushButton(QStringLiteral("&Minimizar"), this);
  btnFechar->setObjectName(QStringLiteral("btnFechar"));
  btnFechar->setIcon(IconeSetaBaixo());
  btnFechar->setGeometry(406, 175, 75, 27);
  btnFechar->setAutoDefault(false);
  connect(btnFechar, &QPushButton::clicked, this, [this] { btnFecharClick(); });
  btnFechar->setFocus();
}

int TfrmSobre::ShowModal() {
  FormShow();
  if (const QScreen* tela = QGuiApplication::primaryScreen()) {
    const QRect area = tela->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
  }
  const int resultado = exec();
  if (FAplicacao.Terminated()) hide();
  return resultado;
}

void TfrmSobre::FormShow() { MostrarVersao(); }

void TfrmSobre::btnFecharClick() { reject(); }

void TfrmSobre::MostrarVersao() {
  try {
    lblVersao->setText(QString::fromStdString(TextoVersao(FAplicacao.ExeName())));
    lblVersao->adjustSize();
    lblVersao->resize(lblVersao->width(), 17);
    lblVersao->repaint();
  } catch (const std::exception& e) {
    FAplicacao.MostrarErro(e);
  }
}

}  // namespace tolvane
