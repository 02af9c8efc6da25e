#pragma once

#include <memory>
#include <string>

namespace tolvane::teste {

// A hidden top-level window of another program, as the window search must find it: of the
// window class AClasse with the text ATitulo, never shown. On Linux it lives on a virtual display
// of its own (Xvfb), which DISPLAY names while the object lives.
class JanelaDeTeste {
 public:
  JanelaDeTeste(const std::string& AClasse, const std::string& ATitulo);
  ~JanelaDeTeste();
  JanelaDeTeste(const JanelaDeTeste&) = delete;
  JanelaDeTeste& operator=(const JanelaDeTeste&) = delete;

  struct Implementacao;

 private:
  std::unique_ptr<Implementacao> FImpl;
};

}  // namespace tolvane::teste
