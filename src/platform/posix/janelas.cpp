#include "platform/janelas.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "core/utf8.h"
#include "platform/caixa_letras.h"
#include "platform/posix/atomos_xcb.h"

namespace tolvane {

namespace {

struct DesconectarXcb {
  void operator()(xcb_connection_t* c) const { xcb_disconnect(c); }
};
// X11's STRING properties (WM_CLASS, WM_NAME) are Latin-1.
std::string Utf8DeLatin1(const std::string& ATexto) {
  std::string r;
  for (const char c : ATexto) AcrescentarUtf8(r, static_cast<unsigned char>(c));
  return r;
}

xcb_get_property_cookie_t PedirPropriedade(xcb_connection_t* c, xcb_window_t AJanela,
                                           xcb_atom_t AAtomo, xcb_atom_t ATipo) {
  return xcb_get_property(c, 0, AJanela, AAtomo, ATipo, 0, 1024);
}

std::string Propriedade(xcb_connection_t* c, xcb_get_property_cookie_t APedido) {
  RespostaXcb<xcb_get_property_reply_t> r(xcb_get_property_reply(c, APedido, nullptr));
  if (!r || r->format != 8) return {};
  return std::string(static_cast<const char*>(xcb_get_property_value(r.get())),
                     static_cast<std::size_t>(xcb_get_property_value_length(r.get())));
}

std::vector<xcb_window_t> Filhas(xcb_connection_t* c, xcb_query_tree_cookie_t APedido) {
  RespostaXcb<xcb_query_tree_reply_t> r(xcb_query_tree_reply(c, APedido, nullptr));
  if (!r) return {};
  const xcb_window_t* filhas = xcb_query_tree_children(r.get());
  return std::vector<xcb_window_t>(filhas, filhas + xcb_query_tree_children_length(r.get()));
}

// What a window is found by: its WM_CLASS class and its name, _NET_WM_NAME before WM_NAME.
struct PedidosJanela {
  xcb_get_property_cookie_t Classe;
  xcb_get_property_cookie_t NomeNet;
  xcb_get_property_cookie_t Nome;
};

bool Confere(xcb_connection_t* c, const PedidosJanela& APedidos, const std::string& AClasse,
             const std::string& ATitulo) {
  // Every reply is taken, matching or not, so that none is left queued on the connection.
  const std::string wmClass = Propriedade(c, APedidos.Classe);
  const std::string nomeNet = Propriedade(c, APedidos.NomeNet);
  const std::string nome = Propriedade(c, APedidos.Nome);
  // WM_CLASS holds the instance name and the class name, each ending in a NUL.
  const auto fimInstancia = wmClass.find('\0');
  if (fimInstancia == std::string::npos) return false;
  const std::string classe = wmClass.substr(fimInstancia + 1).c_str();
  if (!IguaisSemCaixa(Utf8DeLatin1(classe), AClasse)) return false;
  if (!nomeNet.empty()) return IguaisSemCaixa(nomeNet, ATitulo);
  return IguaisSemCaixa(Utf8DeLatin1(nome), ATitulo);
}

}  // namespace

bool ExisteJanela(const std::string& AClasse, const std::string& ATitulo) {
  if (std::getenv("DISPLAY") == nullptr) return false;
  const std::unique_ptr<xcb_connection_t, DesconectarXcb> conexao(xcb_connect(nullptr, nullptr));
  xcb_connection_t* c = conexao.get();
  if (xcb_connection_has_error(c)) return false;
  // Each step sends all its requests before it reads a reply: one round trip to the X server
  // per step, however many windows the desktop has.
  const xcb_intern_atom_cookie_t pedidoUtf8 = PedirAtomo(c, "UTF8_STRING");
  const xcb_intern_atom_cookie_t pedidoNomeNet = PedirAtomo(c, "_NET_WM_NAME");
  std::vector<xcb_query_tree_cookie_t> pedidosRaizes;
  for (auto it = xcb_setup_roots_iterator(xcb_get_setup(c)); it.rem; xcb_screen_next(&it))
    pedidosRaizes.push_back(xcb_query_tree(c, it.data->root));
  const xcb_atom_t utf8 = Atomo(c, pedidoUtf8);
  const xcb_atom_t nomeNet = Atomo(c, pedidoNomeNet);
  std::vector<xcb_window_t> janelas;
  for (const auto& pedido : pedidosRaizes)
    for (xcb_window_t janela : Filhas(c, pedido)) janelas.push_back(janela);

  // The top-level windows, then the client windows that a reparenting window manager puts
  // inside its frames.
  bool achada = false;
  for (int nivel = 0; nivel < 2 && !janelas.empty(); ++nivel) {
    std::vector<PedidosJanela> pedidos;
    std::vector<xcb_query_tree_cookie_t> pedidosFilhas;
    pedidos.reserve(janelas.size());
    for (xcb_window_t janela : janelas) {
      pedidos.push_back({PedirPropriedade(c, janela, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING),
                         PedirPropriedade(c, janela, nomeNet, utf8),
                         PedirPropriedade(c, janela, XCB_ATOM_WM_NAME, XCB_ATOM_STRING)});
      if (nivel == 0) pedidosFilhas.push_back(xcb_query_tree(c, janela));
    }
    for (const auto& p : pedidos) achada = Confere(c, p, AClasse, ATitulo) || achada;
    janelas.clear();
    for (const auto& pedido : pedidosFilhas)
      for (xcb_window_t janela : Filhas(c, pedido)) janelas.push_back(janela);
    if (achada) return true;
  }
  return false;
}

}  // namespace tolvane
