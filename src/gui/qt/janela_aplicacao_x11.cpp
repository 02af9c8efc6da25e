#include "gui/qt/janela_aplicacao_x11.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/aplicacao_janelas.h"
#include "platform/posix/atomos_xcb.h"

namespace tolvane {

namespace {

void DefinirTexto(xcb_connection_t* c, xcb_window_t AJanela, xcb_atom_t APropriedade,
                  xcb_atom_t ATipo, const QByteArray& ATexto) {
  xcb_change_property(c, XCB_PROP_MODE_REPLACE, AJanela, APropriedade, ATipo, 8,
                      static_cast<uint32_t>(ATexto.size()), ATexto.constData());
}

xcb_connection_t* ConexaoDoQt() {
  const auto* x11 =
      qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  return x11 ? x11->connection() : nullptr;
}

// The events that the root's substructure mask adds: about the root's children, told to the
// root.
bool EventoDaSubestrutura(const xcb_generic_event_t* AEvento, xcb_window_t ARaiz) {
  switch (AEvento->response_type & 0x7F) {
    case XCB_CREATE_NOTIFY:
      return reinterpret_cast<const xcb_create_notify_event_t*>(AEvento)->parent == ARaiz;
    case XCB_DESTROY_NOTIFY:
    case XCB_UNMAP_NOTIFY:
    case XCB_MAP_NOTIFY:
    case XCB_REPARENT_NOTIFY:
    case XCB_CONFIGURE_NOTIFY:
    case XCB_GRAVITY_NOTIFY:
    case XCB_CIRCULATE_NOTIFY: {
      // These events share their layout up to the window the event was told to and the window
      // it is about.
      const auto* e = reinterpret_cast<const xcb_map_notify_event_t*>(AEvento);
      return e->event == ARaiz && e->window != ARaiz;
    }
    default:
      return false;
  }
}

}  // namespace

ConexaoXcb ConectarTela() {
  if (std::getenv("DISPLAY") == nullptr) return nullptr;
  ConexaoXcb c(xcb_connect(nullptr, nullptr));
  if (xcb_connection_has_error(c.get())) return nullptr;
  return c;
}

JanelaAplicacao::JanelaAplicacao(const QString& ATitulo, std::function<void()> ARestaurar)
    : FConexao(ConexaoDoQt()), FRestaurar(std::move(ARestaurar)) {
  if (!FConexao) return;
  xcb_connection_t* c = FConexao;
  const xcb_screen_t* tela = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
  FRaiz = tela->root;
  // The requests go out together; the replies are read once the window is made.
  const xcb_intern_atom_cookie_t pedidoAtivar = PedirAtomo(c, "_NET_ACTIVE_WINDOW");
  const xcb_intern_atom_cookie_t pedidoNomeNet = PedirAtomo(c, "_NET_WM_NAME");
  const xcb_intern_atom_cookie_t pedidoUtf8 = PedirAtomo(c, "UTF8_STRING");
  const xcb_get_window_attributes_cookie_t pedidoRaiz = xcb_get_window_attributes(c, FRaiz);
  FJanela = xcb_generate_id(c);
  const uint32_t eventos = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
  xcb_create_window(c, XCB_COPY_FROM_PARENT, FJanela, FRaiz, 0, 0, 1, 1, 0,
                    XCB_WINDOW_CLASS_INPUT_OUTPUT, tela->root_visual, XCB_CW_EVENT_MASK, &eventos);
  // WM_CLASS: the instance name and the class name, each ending in a NUL.
  const std::string wmClass = std::string("tolvaneGestor") + '\0' + kClasseJanelaAplicacao + '\0';
  xcb_change_property(c, XCB_PROP_MODE_REPLACE, FJanela, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8,
                      static_cast<uint32_t>(wmClass.size()), wmClass.data());
  FAtivar = Atomo(c, pedidoAtivar);
  FNomeNet = Atomo(c, pedidoNomeNet);
  FUtf8 = Atomo(c, pedidoUtf8);
  DefinirTitulo(ATitulo);
  // Activation requests go to the root window; watching its substructure lets us see them
  // with or without a window manager. The mask is this connection's, shared with Qt: what Qt
  // asked for stays.
  RespostaXcb<xcb_get_window_attributes_reply_t> raiz(
      xcb_get_window_attributes_reply(c, pedidoRaiz, nullptr));
  const uint32_t mascaraQt = raiz ? raiz->your_event_mask : 0;
  FSubestruturaNossa = (mascaraQt & XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY) == 0;
  const uint32_t eventosRaiz = mascaraQt | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_change_window_attributes(c, FRaiz, XCB_CW_EVENT_MASK, &eventosRaiz);
  xcb_flush(c);
  QCoreApplication::instance()->installNativeEventFilter(this);
}

JanelaAplicacao::~JanelaAplicacao() {
  if (!FConexao) return;
  if (auto* app = QCoreApplication::instance()) app->removeNativeEventFilter(this);
  xcb_destroy_window(FConexao, FJanela);
  xcb_flush(FConexao);
}

void JanelaAplicacao::DefinirTitulo(const QString& ATitulo) {
  if (!FConexao) return;
  DefinirTexto(FConexao, FJanela, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, ATitulo.toLatin1());
  DefinirTexto(FConexao, FJanela, FNomeNet, FUtf8, ATitulo.toUtf8());
  xcb_flush(FConexao);
}

bool JanelaAplicacao::nativeEventFilter(const QByteArray& ATipo, void* AMensagem, qintptr*) {
  if (ATipo != "xcb_generic_event_t") return false;
  const auto* evento = static_cast<const xcb_generic_event_t*>(AMensagem);
  switch (evento->response_type & 0x7F) {
    case XCB_CLIENT_MESSAGE: {
      const auto* m = reinterpret_cast<const xcb_client_message_event_t*>(evento);
      if (m->type != FAtivar || m->window != FJanela) return false;
      if (FRestaurar) FRestaurar();
      return true;
    }
    case XCB_MAP_NOTIFY: {
      // Somebody mapped the application window: it stays hidden, the main window comes back.
      const auto* m = reinterpret_cast<const xcb_map_notify_event_t*>(evento);
      if (m->window != FJanela) break;
      if (m->event == FJanela) {
        xcb_unmap_window(FConexao, FJanela);
        xcb_flush(FConexao);
        if (FRestaurar) FRestaurar();
      }
      return true;
    }
    default:
      break;
  }
  return FSubestruturaNossa && EventoDaSubestrutura(evento, FRaiz);
}

}  // namespace tolvane
