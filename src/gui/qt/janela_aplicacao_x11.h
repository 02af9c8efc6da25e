#pragma once

#include <xcb/xcb.h>

#include <QAbstractNativeEventFilter>
#include <QString>
#include <functional>
#include <memory>

namespace tolvane {

// An X11 connection of our own, closed on destruction.
struct DesconectarXcb {
  void operator()(xcb_connection_t* AConexao) const { xcb_disconnect(AConexao); }
};
using ConexaoXcb = std::unique_ptr<xcb_connection_t, DesconectarXcb>;

// Connects to the display named by DISPLAY; null when there is none.
ConexaoXcb ConectarTela();

// The application window: a hidden top-level X11 window of class "TApplication" whose name is
// the application title, so that other programs find this one as they find ours. It is never
// shown. When someone asks to activate it (the window manager's _NET_ACTIVE_WINDOW request, as
// "xdotool windowactivate" sends it) or maps it, it calls ARestaurar: the restore rule.
// It lives on the X connection of the running QGuiApplication (none: the window is not made),
// whose events it reads through a native event filter.
class JanelaAplicacao : public QAbstractNativeEventFilter {
 public:
  JanelaAplicacao(const QString& ATitulo, std::function<void()> ARestaurar);
  ~JanelaAplicacao() override;
  JanelaAplicacao(const JanelaAplicacao&) = delete;
  JanelaAplicacao& operator=(const JanelaAplicacao&) = delete;

  void DefinirTitulo(const QString& ATitulo);
  xcb_window_t Id() const { return FJanela; }

  bool nativeEventFilter(const QByteArray& ATipo, void* AMensagem, qintptr* AResultado) override;

 private:
  xcb_connection_t* FConexao = nullptr;  // Qt's
  xcb_window_t FJanela = 0;
  xcb_window_t FRaiz = 0;
  xcb_atom_t FAtivar = 0;
  xcb_atom_t FNomeNet = 0;
  xcb_atom_t FUtf8 = 0;
  // Whether the root's substructure events are ours alone: Qt did not ask for them, so it is
  // given none of them.
  bool FSubestruturaNossa = false;
  std::function<void()> FRestaurar;
};

}  // namespace tolvane
