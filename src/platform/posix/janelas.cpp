#include "platform/janelas.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "core/utf8.h"
#include "platform/caixa_letras.h"

namespace tolvane {

namespace {

struct DesconectarXcb {
  void operator()(xcb_connection_t* c) const { xcb_disconnect(c); }
};
struct LiberarC {
  void operator()(void* p) const { std::free(p); }
};
template <typename T>
using RespostaXcb = std::unique_ptr<T, LiberarC>;

// X11's STRING properties (WM_CLASS, WM_NAME) are Latin-1.
std::string Utf8DeLatin1(const std::string& ATexto) {
  std::string r;
  for (const char c : ATexto) AcrescentarUtf8(r, static_cast<unsigned char>(c));
  return r;
}

xcb_atom_t Atomo(xcb_connection_t* c, const char* ANome) {
  RespostaXcb<xcb_intern_atom_reply_t> r(xcb_intern_atom_reply(
      c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(ANome)), ANome), nullptr));
  return r ? r->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

std::string Propriedade(xcb_connection_t* c, xcb_window_t AJanela, xcb_atom_t AAtomo,
                        xcb_atom_t ATipo) {
  RespostaXcb<xcb_get_property_reply_t> r(
      xcb_get_property_reply(c, xcb_get_property(c, 0, AJanela, AAtomo, ATipo, 0, 1024), nullptr));
  if (!r || r->format != 8) return {};
  return std::string(static_cast<const char*>(xcb_get_property_value(r.get())),
                     static_cast<std::size_t>(xcb_get_property_value_length(r.get())));
}

std::vector<xcb_window_t> Filhas(xcb_connection_t* c, xcb_window_t AJanela) {
  RespostaXcb<xcb_query_tree_reply_t> r(
      xcb_query_tree_reply(c, xcb_query_tree(c, AJanela), nullptr));
  if (!r) return {};
  const xcb_window_t* filhas = xcb_query_tree_children(r.get());
  return std::vector<xcb_window_t>(filhas, filhas + xcb_query_tree_children_length(r.get()));
}

class Busca {
 public:
  Busca(xcb_connection_t* AConexao, const std::string& AClasse, const std::string& ATitulo)
      : c(AConexao),
        FClasse(AClasse),
        FTitulo(ATitulo),
        FUtf8(Atomo(AConexao, "UTF8_STRING")),
        FNomeNet(Atomo(AConexao, "_NET_WM_NAME")) {}

  bool Confere(xcb_window_t AJanela) const {
    // WM_CLASS holds the instance name and the class name, each ending in a NUL.
    const std::string wmClass = Propriedade(c, AJanela, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING);
    const auto fimInstancia = wmClass.find('\0');
    if (fimInstancia == std::string::npos) return false;
    const std::string classe = wmClass.substr(fimInstancia + 1).c_str();
    if (!IguaisSemCaixa(Utf8DeLatin1(classe), FClasse)) return false;
    const std::string nome = Propriedade(c, AJanela, FNomeNet, FUtf8);
    if (!nome.empty()) return IguaisSemCaixa(nome, FTitulo);
    return IguaisSemCaixa(Utf8DeLatin1(Propriedade(c, AJanela, XCB_ATOM_WM_NAME, XCB_ATOM_STRING)),
                          FTitulo);
  }

 private:
  xcb_connection_t* c;
  std::string FClasse;
  std::string FTitulo;
  xcb_atom_t FUtf8;
  xcb_atom_t FNomeNet;
};

}  // namespace

bool ExisteJanela(const std::string& AClasse, const std::string& ATitulo) {
  if (std::getenv("DISPLAY") == nullptr) return false;
  const std::unique_ptr<xcb_connection_t, DesconectarXcb> conexao(xcb_connect(nullptr, nullptr));
  xcb_connection_t* c = conexao.get();
  if (xcb_connection_has_error(c)) return false;
  const Busca busca(c, AClasse, ATitulo);
  for (auto it = xcb_setup_roots_iterator(xcb_get_setup(c)); it.rem; xcb_screen_next(&it)) {
    for (xcb_window_t janela : Filhas(c, it.data->root)) {
      if (busca.Confere(janela)) return true;
      // A reparenting window manager puts the client window inside a frame.
      for (xcb_window_t cliente : Filhas(c, janela))
        if (busca.Confere(cliente)) return true;
    }
  }
  return false;
}

}  // namespace tolvane
