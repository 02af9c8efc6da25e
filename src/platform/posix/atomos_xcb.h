#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace tolvane {

// What the X11 pieces (the window list here, the Qt frontend's application window) share of
// XCB: its replies, which the caller frees with free(), and atoms asked for first and read after,
// so that several requests travel in one round trip.

struct LiberarRespostaXcb {
  void operator()(void* p) const { std::free(p); }
};
template <typename T>
using RespostaXcb = std::unique_ptr<T, LiberarRespostaXcb>;

inline xcb_intern_atom_cookie_t PedirAtomo(xcb_connection_t* c, const char* ANome) {
  return xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(ANome)), ANome);
}

// The atom asked for; XCB_ATOM_NONE when the server did not answer.
inline xcb_atom_t Atomo(xcb_connection_t* c, xcb_intern_atom_cookie_t APedido) {
  RespostaXcb<xcb_intern_atom_reply_t> r(xcb_intern_atom_reply(c, APedido, nullptr));
  return r ? r->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

}  // namespace tolvane
