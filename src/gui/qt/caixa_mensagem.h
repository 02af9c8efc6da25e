#pragma once

#include <QMessageBox>

namespace tolvane {

// The modal message box of the application object. Besides showing, it copies its text with
// Ctrl+C in the layout Windows message boxes use, which users paste into support chats (Qt does
// this only on Windows).
class CaixaMensagem : public QMessageBox {
 public:
  CaixaMensagem(const QString& ATexto, const QString& ACaption, unsigned AFlags, QWidget* ADono);

  // The text of Ctrl+C: dashed rule, caption, rule, text, rule, buttons, rule.
  QString TextoParaCopiar() const;

 protected:
  void keyPressEvent(QKeyEvent* AEvento) override;

 private:
  QString FTexto;
  QString FCaption;
};

}  // namespace tolvane
