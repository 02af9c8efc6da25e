#include "gui/qt/janela_aplicacao_x11.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "app/aplicacao_janelas.h"

namespace tolvane {

namespace {

struct LiberarC {
  void operator()(void* p) const { std::free(p); }
};
template <typename T>
using RespostaXcb = std::unique_ptr<T, LiberarC>;

xcb_atom_t AtomoDe(xcb_connection_t* c, const char* ANome) {
  RespostaXcb<xcb_intern_atom_reply_t> r(xcb_intern_atom_reply(
      c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(ANome)), ANome), nullptr));
  return r ? r->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

void DefinirTexto(xcb_connection_t* c, xcb_window_t AJanela, xcb_atom_t APropriedade,
                  xcb_atom_t ATipo, const QByteArray& ATexto) {
  xcb_change_property(c, XCB_PROP_MODE_REPLACE, AJanela, APropriedade, ATipo, 8,
                      static_cast<uint32_t>(ATexto.size()), ATexto.constData());
}

}  // namespace

ConexaoXcb ConectarTela() {
  if (std::getenv("DISPLAY") == nullptr) return nullptr;
  ConexaoXcb c(xcb_connect(nullptr, nullptr));
  if (xcb_connection_has_error(c.get())) return nullptr;
  return c;
}

JanelaAplicacao::JanelaAplicacao(const QString& ATitulo, std::function<void()> ARestaurar)
    : FConexao(ConectarTela()), FRestaurar(std::move(ARestaurar)) {
  if (!FConexao) return;
  xcb_connection_t* c = FConexao.get();
  const xcb_screen_t* tela = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
  FRaiz = tela->root;
  FAtivar = Atomo("_NET_ACTIVE_WINDOW");
  FJanela = xcb_generate_id(c);
  const uint32_t eventos = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
  xcb_create_window(c, XCB_COPY_FROM_PARENT, FJanela, FRaiz, 0, 0, 1, 1, 0,
                    XCB_WINDOW_CLASS_INPUT_OUTPUT, tela->root_visual, XCB_CW_EVENT_MASK, &eventos);
  // WM_CLASS: the instance name and the class name, each ending in a NUL.
  const std::string wmClass = std::string("tolvaneGestor") + '\0' + kClasseJanelaAplicacao + '\0';
  xcb_change_property(c, XCB_PROP_MODE_REPLACE, FJanela, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8,
                      static_cast<uint32_t>(wmClass.size()), wmClass.data());
  DefinirTitulo(ATitulo);
  // Activation requests go to the root window; watching its substructure lets us see them
  // with or without a window manager.
  const uint32_t eventosRaiz = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_change_window_attributes(c, FRaiz, XCB_CW_EVENT_MASK, &eventosRaiz);
  xcb_flush(c);
  FNotificador =
      std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(c), QSocketNotifier::Read);
  connect(FNotificador.get(), &QSocketNotifier::activated, this, [this] { LerEventos(); });
}

JanelaAplicacao::~JanelaAplicacao() {
  FNotificador.reset();
  if (FConexao && FJanela) xcb_destroy_window(FConexao.get(), FJanela);
}

xcb_atom_t JanelaAplicacao::Atomo(const char* ANome) { return AtomoDe(FConexao.get(), ANome); }

void JanelaAplicacao::DefinirTitulo(const QString& ATitulo) {
  if (!FConexao) return;
  xcb_connection_t* c = FConexao.get();
  DefinirTexto(c, FJanela, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, ATitulo.toLatin1());
  DefinirTexto(c, FJanela, Atomo("_NET_WM_NAME"), Atomo("UTF8_STRING"), ATitulo.toUtf8());
  xcb_flush(c);
}

void JanelaAplicacao::LerEventos() {
  xcb_connection_t* c = FConexao.get();
  bool restaurar = false;
  while (RespostaXcb<xcb_generic_event_t> evento{xcb_poll_for_event(c)}) {
    switch (evento->response_type & 0x7F) {
      case XCB_CLIENT_MESSAGE: {
        const auto* m = reinterpret_cast<const xcb_client_message_event_t*>(evento.get());
        if (m->type == FAtivar && m->window == FJanela) restaurar = true;
        break;
      }
      case XCB_MAP_NOTIFY: {
        // Somebody mapped the application window: it stays hidden, the main window comes back.
        const auto* m = reinterpret_cast<const xcb_map_notify_event_t*>(evento.get());
        if (m->window == FJanela) {
          xcb_unmap_window(c, FJanela);
          xcb_flush(c);
          restaurar = true;
        }
        break;
      }
      default:
        break;
    }
  }
  if (xcb_connection_has_error(c)) FNotificador->setEnabled(false);
  if (restaurar && FRestaurar) FRestaurar();
}

}  // namespace tolvane
