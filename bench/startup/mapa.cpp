// Times one start of a program from its spawn to the map of its window, from the X server's own
// events (SubstructureNotify on the root: no polling, which would load the machine and slow
// both sides), and reads its resident memory then. Without a window manager, a top-level window
// maps as a child of the root.
//
//   bench_mapa [--janelas N] <title> <program> [arguments...]
//
// Prints "<milliseconds> <RSS KiB>" and ends the program. --janelas N first makes N unmapped
// top-level windows, as a busy desktop has, kept until the measurement ends.

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct LiberarC {
  void operator()(void* p) const { std::free(p); }
};

std::string Nome(xcb_connection_t* c, xcb_window_t AJanela, xcb_atom_t AAtomo, xcb_atom_t ATipo) {
  std::unique_ptr<xcb_get_property_reply_t, LiberarC> r(
      xcb_get_property_reply(c, xcb_get_property(c, 0, AJanela, AAtomo, ATipo, 0, 256), nullptr));
  if (!r || r->format != 8) return {};
  return std::string(static_cast<const char*>(xcb_get_property_value(r.get())),
                     static_cast<std::size_t>(xcb_get_property_value_length(r.get())));
}

xcb_atom_t Atomo(xcb_connection_t* c, const char* ANome) {
  std::unique_ptr<xcb_intern_atom_reply_t, LiberarC> r(xcb_intern_atom_reply(
      c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(ANome)), ANome), nullptr));
  return r ? r->atom : 0;
}

long RssKib(pid_t APid) {
  std::ifstream status("/proc/" + std::to_string(APid) + "/status");
  std::string linha;
  while (std::getline(status, linha))
    if (linha.rfind("VmRSS:", 0) == 0) return std::strtol(linha.c_str() + 6, nullptr, 10);
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  int i = 1;
  int janelas = 0;
  if (argc > 2 && std::strcmp(argv[1], "--janelas") == 0) {
    janelas = std::atoi(argv[2]);
    i = 3;
  }
  if (argc - i < 2) {
    std::fprintf(stderr, "usage: bench_mapa [--janelas N] <title> <program> [arguments...]\n");
    return 2;
  }
  const std::string titulo = argv[i];
  char** programa = argv + i + 1;

  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(c)) {
    std::fprintf(stderr, "bench_mapa: no X display\n");
    return 2;
  }
  const xcb_screen_t* tela = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
  for (int k = 0; k < janelas; ++k) {
    const xcb_window_t j = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, j, tela->root, 0, 0, 10, 10, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, tela->root_visual, 0, nullptr);
    const std::string classe = std::string("outro") + '\0' + "OutroPrograma" + '\0';
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, j, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8,
                        static_cast<uint32_t>(classe.size()), classe.data());
    const std::string nome = "janela " + std::to_string(k);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, j, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                        static_cast<uint32_t>(nome.size()), nome.data());
  }
  const xcb_atom_t nomeNet = Atomo(c, "_NET_WM_NAME");
  const xcb_atom_t utf8 = Atomo(c, "UTF8_STRING");
  const uint32_t mascara = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_change_window_attributes(c, tela->root, XCB_CW_EVENT_MASK, &mascara);
  std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));  // all in place

  posix_spawn_file_actions_t acoes;
  posix_spawn_file_actions_init(&acoes);
  posix_spawn_file_actions_addopen(&acoes, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&acoes, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&acoes, 2, "/dev/null", O_WRONLY, 0);
  const auto inicio = std::chrono::steady_clock::now();
  pid_t pid = 0;
  if (posix_spawn(&pid, programa[0], &acoes, nullptr, programa, environ) != 0) {
    std::fprintf(stderr, "bench_mapa: cannot start %s\n", programa[0]);
    return 2;
  }
  posix_spawn_file_actions_destroy(&acoes);

  double ms = -1;
  long rss = -1;
  while (xcb_generic_event_t* e = xcb_wait_for_event(c)) {
    const std::unique_ptr<xcb_generic_event_t, LiberarC> evento(e);
    if ((e->response_type & 0x7F) != XCB_MAP_NOTIFY) continue;
    const auto agora = std::chrono::steady_clock::now();
    const auto* m = reinterpret_cast<const xcb_map_notify_event_t*>(e);
    std::string nome = Nome(c, m->window, nomeNet, utf8);
    if (nome.empty()) nome = Nome(c, m->window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING);
    if (nome != titulo) continue;
    ms = std::chrono::duration<double, std::milli>(agora - inicio).count();
    rss = RssKib(pid);
    break;
  }
  kill(pid, SIGKILL);
  int estado = 0;
  waitpid(pid, &estado, 0);
  xcb_disconnect(c);
  if (ms < 0) {
    std::fprintf(stderr, "bench_mapa: %s ended before its window mapped\n", programa[0]);
    return 1;
  }
  std::printf("%.2f %ld\n", ms, rss);
  return 0;
}
