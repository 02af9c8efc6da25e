#include "gui/qt/caixa_mensagem.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>

#include "core/aplicacao.h"

namespace tolvane {

namespace {

QMessageBox::Icon IconeDasFlags(unsigned AFlags) {
  switch (AFlags & 0xF0) {
    case kMbIconError:
      return QMessageBox::Critical;
    case kMbIconWarning:
      return QMessageBox::Warning;
    case 0x40:
      return QMessageBox::Information;
    case 0x20:
      return QMessageBox::Question;
    default:
      return QMessageBox::NoIcon;
  }
}

// Windows message boxes break lines at a lone CR as well as at CR LF and LF.
QString QuebrasDeLinha(QString ATexto) {
  ATexto.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  ATexto.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return ATexto;
}

}  // namespace

CaixaMensagem::CaixaMensagem(const QString& ATexto, const QString& ACaption, unsigned AFlags,
                             QWidget* ADono)
    : QMessageBox(ADono), FTexto(ATexto), FCaption(ACaption) {
  setWindowTitle(ACaption);
  setTextFormat(Qt::PlainText);
  setText(QuebrasDeLinha(ATexto));
  setIcon(IconeDasFlags(AFlags));
  setStandardButtons(QMessageBox::Ok);
  setWindowModality(Qt::ApplicationModal);
  // Never a "?" or extra buttons on the title bar; a close box answers like OK.
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
}

QString CaixaMensagem::TextoParaCopiar() const {
  const QString regua = QStringLiteral("---------------------------\n");
  return regua + FCaption + '\n' + regua + FTexto + '\n' + regua + QStringLiteral("OK   \n") +
         regua;
}

void CaixaMensagem::keyPressEvent(QKeyEvent* AEvento) {
  if (AEvento->matches(QKeySequence::Copy)) {
    QGuiApplication::clipboard()->setText(TextoParaCopiar());
    return;
  }
  QMessageBox::keyPressEvent(AEvento);
}

}  // namespace tolvane
