#include "gui/qt/frm_mensagem_confirmar_generica.h"

#include <QCloseEvent>
#include <QIcon>
#include <QThread>

#include "gui/qt/aplicacao_qt.h"
#include "gui/qt/imagens.h"

namespace tolvane {

QPointer<TfrmMensagemConfirmarGenerica> frmMensagemConfirmarGenerica;

TfrmMensagemConfirmarGenerica::TfrmMensagemConfirmarGenerica()
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName(QStringLiteral("frmMensagemConfirmarGenerica"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Aviso do Sistema"));
  QFont fonte(QStringLiteral("Tahoma"));
  fonte.setPixelSize(11);
  setFont(fonte);
  setFixedSize(534, 175);
  move(0, 0);

  lblMensagem = new QLabel(QStringLiteral("Mensagem Genérica"), this);
  lblMensagem->setObjectName(QStringLiteral("lblMensagem"));
  lblMensagem->setGeometry(8, 16, 517, 72);
  lblMensagem->setWordWrap(true);
  lblMensagem->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  lblMensagem->setTextFormat(Qt::PlainText);

  ckbConcordo = new QCheckBox(QStringLiteral("Estou ciente destas informações."), this);
  ckbConcordo->setObjectName(QStringLiteral("ckbConcordo"));
  ckbConcordo->setGeometry(8, 94, 185, 17);
  connect(ckbConcordo, &QCheckBox::clicked, this, [this] { ckbConcordoClick(); });

  Panel1 = new QFrame(this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
  Panel1->setGeometry(0, 175 - 40, 534, 40);

  btnOk = new QPushButton(QStringLiteral("OK"), Panel1);
  btnOk->setObjectName(QStringLiteral("btnOk"));
  btnOk->setGeometry(445, 7, 75, 25);
  btnOk->setIcon(IconeOk());
  btnOk->setEnabled(false);
  connect(btnOk, &QPushButton::clicked, this, [this] { btnOkClick(); });

  setTabOrder(ckbConcordo, btnOk);
}

void TfrmMensagemConfirmarGenerica::btnOkClick() { close(); }

void TfrmMensagemConfirmarGenerica::ckbConcordoClick() {
  btnOk->setEnabled(ckbConcordo->isChecked());
}

void TfrmMensagemConfirmarGenerica::closeEvent(QCloseEvent* AEvento) {
  frmMensagemConfirmarGenerica = nullptr;
  AEvento->accept();
}

void MostrarAviso(AplicacaoQt& AAplicacao, const QString& ATexto, bool AComConfirmacao,
                  bool AFecharAutomatico) {
  auto* janela = new TfrmMensagemConfirmarGenerica();  // frees itself on close
  frmMensagemConfirmarGenerica = janela;
  janela->show();

  for (QWidget* w :
       {static_cast<QWidget*>(janela->Panel1), static_cast<QWidget*>(janela->ckbConcordo),
        static_cast<QWidget*>(janela->btnOk)})
    w->setVisible(AComConfirmacao);
  // The sizes are outer sizes: title bar and borders included.
  const int altura = AComConfirmacao ? 200 : 80;
  const QRect moldura = janela->frameGeometry();
  const int extraLargura = moldura.width() - janela->width();
  const int extraAltura = moldura.height() - janela->height();
  janela->setFixedSize(540 - extraLargura, altura - extraAltura);
  janela->Panel1->setGeometry(0, janela->height() - 40, janela->width(), 40);
  janela->repaint();

  janela->lblMensagem->setText(ATexto);
  janela->lblMensagem->repaint();
  AAplicacao.ProcessMessages();

  if (AFecharAutomatico) {
    const QPointer<TfrmMensagemConfirmarGenerica> aberta(janela);
    QThread::msleep(5000);
    if (aberta) aberta->btnOkClick();
  }
}

}  // namespace tolvane
