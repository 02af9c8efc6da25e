#include "platform/janela_de_teste.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <thread>

#include "comum/variavel_ambiente.h"

extern char** environ;

namespace tolvane::teste {

namespace {

// Xvfb on a display number nobody uses, ended with the object.
class TelaVirtual {
 public:
  TelaVirtual() {
    for (int n = 700; n < 760 && FPid <= 0; ++n) {
      const std::string socket = "/tmp/.X11-unix/X" + std::to_string(n);
      const std::string trava = "/tmp/.X" + std::to_string(n) + "-lock";
      struct stat st {};
      if (stat(socket.c_str(), &st) == 0 || stat(trava.c_str(), &st) == 0) continue;
      FNome = ":" + std::to_string(n);
      const char* argv[] = {"Xvfb", FNome.c_str(), "-nolisten", "tcp", nullptr};
      posix_spawn_file_actions_t acoes;
      posix_spawn_file_actions_init(&acoes);
      posix_spawn_file_actions_addopen(&acoes, 1, "/dev/null", O_WRONLY, 0);
      posix_spawn_file_actions_addopen(&acoes, 2, "/dev/null", O_WRONLY, 0);
      if (posix_spawnp(&FPid, "Xvfb", &acoes, nullptr, const_cast<char**>(argv), environ) != 0)
        FPid = -1;
      posix_spawn_file_actions_destroy(&acoes);
      for (int i = 0; i < 200 && FPid > 0; ++i) {
        if (stat(socket.c_str(), &st) == 0) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
      }
      Parar();
    }
    throw std::runtime_error("no virtual display (Xvfb) could be started");
  }
  ~TelaVirtual() { Parar(); }
  const std::string& Nome() const { return FNome; }

 private:
  void Parar() {
    if (FPid <= 0) return;
    kill(FPid, SIGTERM);
    waitpid(FPid, nullptr, 0);
    FPid = -1;
  }
  pid_t FPid = -1;
  std::string FNome;
};

xcb_atom_t Atomo(xcb_connection_t* c, const char* ANome) {
  xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(
      c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(ANome)), ANome), nullptr);
  const xcb_atom_t a = r ? r->atom : 0;
  std::free(r);
  return a;
}

}  // namespace

struct JanelaDeTeste::Implementacao {
  TelaVirtual Tela;
  std::optional<VariavelAmbiente> Display;
  xcb_connection_t* Conexao = nullptr;
};

JanelaDeTeste::JanelaDeTeste(const std::string& AClasse, const std::string& ATitulo)
    : FImpl(std::make_unique<Implementacao>()) {
  FImpl->Display.emplace("DISPLAY", FImpl->Tela.Nome());
  xcb_connection_t* c = FImpl->Conexao = xcb_connect(FImpl->Tela.Nome().c_str(), nullptr);
  if (xcb_connection_has_error(c))
    throw std::runtime_error("cannot connect to " + FImpl->Tela.Nome());
  const xcb_screen_t* tela = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
  // As a reparenting window manager frames a client: the window inside a frame window.
  const xcb_window_t moldura = xcb_generate_id(c);
  xcb_create_window(c, XCB_COPY_FROM_PARENT, moldura, tela->root, 0, 0, 20, 20, 0,
                    XCB_WINDOW_CLASS_INPUT_OUTPUT, tela->root_visual, 0, nullptr);
  const xcb_window_t janela = xcb_generate_id(c);
  xcb_create_window(c, XCB_COPY_FROM_PARENT, janela, moldura, 0, 0, 10, 10, 0,
                    XCB_WINDOW_CLASS_INPUT_OUTPUT, tela->root_visual, 0, nullptr);
  const std::string wmClass = std::string("outro") + '\0' + AClasse + '\0';
  xcb_change_property(c, XCB_PROP_MODE_REPLACE, janela, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8,
                      static_cast<uint32_t>(wmClass.size()), wmClass.data());
  xcb_change_property(c, XCB_PROP_MODE_REPLACE, janela, Atomo(c, "_NET_WM_NAME"),
                      Atomo(c, "UTF8_STRING"), 8, static_cast<uint32_t>(ATitulo.size()),
                      ATitulo.data());
  // Neither window is mapped: hidden windows count. A round trip: the server has it all.
  std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
}

JanelaDeTeste::~JanelaDeTeste() { xcb_disconnect(FImpl->Conexao); }

}  // namespace tolvane::teste
