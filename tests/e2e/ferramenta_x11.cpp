// Test helper that plays the other programs on the display:
//   ferramenta_x11 criar CLASS NAME [--mapear]  makes a top-level window with that WM_CLASS class
//                                               and name (unmapped unless asked), prints its id and
//                                               keeps it until standard input closes;
//   ferramenta_x11 fechar WINDOW                asks the window to close (WM_DELETE_WINDOW), as a
//                                               window manager's close box does.

#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

xcb_atom_t Atomo(xcb_connection_t* c, const char* ANome) {
  xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(
      c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(ANome)), ANome), nullptr);
  const xcb_atom_t a = r ? r->atom : 0;
  std::free(r);
  return a;
}

int Criar(xcb_connection_t* c, const char* AClasse, const char* ANome, bool AMapear) {
  const xcb_screen_t* tela = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
  const xcb_window_t janela = xcb_generate_id(c);
  xcb_create_window(c, XCB_COPY_FROM_PARENT, janela, tela->root, 10, 10, 200, 100, 0,
                    XCB_WINDOW_CLASS_INPUT_OUTPUT, tela->root_visual, 0, nullptr);
  const std::string wmClass = std::string("ferramenta_x11") + '\0' + AClasse + '\0';
  xcb_change_property(c, XCB_PROP_MODE_REPLACE, janela, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8,
                      static_cast<uint32_t>(wmClass.size()), wmClass.data());
  xcb_change_property(c, XCB_PROP_MODE_REPLACE, janela, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                      static_cast<uint32_t>(std::strlen(ANome)), ANome);
  if (AMapear) xcb_map_window(c, janela);
  xcb_flush(c);
  std::printf("%u\n", janela);
  std::fflush(stdout);
  char buf[64];
  while (std::fgets(buf, sizeof buf, stdin)) {
  }
  return 0;
}

int Fechar(xcb_connection_t* c, xcb_window_t AJanela) {
  xcb_client_message_event_t m{};
  m.response_type = XCB_CLIENT_MESSAGE;
  m.format = 32;
  m.window = AJanela;
  m.type = Atomo(c, "WM_PROTOCOLS");
  m.data.data32[0] = Atomo(c, "WM_DELETE_WINDOW");
  m.data.data32[1] = XCB_CURRENT_TIME;
  // Checked, so the request has reached the server before the connection closes.
  xcb_generic_error_t* erro =
      xcb_request_check(c, xcb_send_event_checked(c, 0, AJanela, XCB_EVENT_MASK_NO_EVENT,
                                                  reinterpret_cast<const char*>(&m)));
  if (erro) {
    std::fprintf(stderr, "ferramenta_x11: X error %d sending to %u\n", erro->error_code, AJanela);
    std::free(erro);
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(c)) {
    std::fprintf(stderr, "ferramenta_x11: no display\n");
    return 1;
  }
  int rc = 2;
  if (argc >= 4 && std::strcmp(argv[1], "criar") == 0)
    rc = Criar(c, argv[2], argv[3], argc > 4 && std::strcmp(argv[4], "--mapear") == 0);
  else if (argc == 3 && std::strcmp(argv[1], "fechar") == 0)
    rc = Fechar(c, static_cast<xcb_window_t>(std::strtoul(argv[2], nullptr, 0)));
  else
    std::fprintf(stderr, "usage: ferramenta_x11 criar CLASS NAME [--mapear] | fechar WINDOW\n");
  xcb_disconnect(c);
  return rc;
}
