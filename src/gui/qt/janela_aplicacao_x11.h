#pragma once

#include <xcb/xcb.h>

#include <QObject>
#include <QSocketNotifier>
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
class JanelaAplicacao : public QObject {
 public:
  JanelaAplicacao(const QString& ATitulo, std::function<void()> ARestaurar);
  ~JanelaAplicacao() override;

  void DefinirTitulo(const QString& ATitulo);
  xcb_window_t Id() const { return FJanela; }

 private:
  void LerEventos();
  xcb_atom_t Atomo(const char* ANome);

  ConexaoXcb FConexao;
  xcb_window_t FJanela = 0;
  xcb_window_t FRaiz = 0;
  xcb_atom_t FAtivar = 0;
  std::unique_ptr<QSocketNotifier> FNotificador;
  std::function<void()> FRestaurar;
};

}  // namespace tolvane
