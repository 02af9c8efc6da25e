#pragma once

#include <string>
#include <vector>

namespace tolvane {

// What the main window's logic asks of its window.
class JanelaPrincipal {
 public:
  virtual ~JanelaPrincipal() = default;

  // The tray icon's tooltip (TrayIcon1.Hint); only its first 127 characters are shown.
  virtual void DefinirDicaBandeja(const std::string& ADica) = 0;

  // The certificate combo box: cleared (text and items), then the names appended in order.
  virtual void LimparCertificados() = 0;
  virtual void AdicionarCertificado(const std::string& ANome) = 0;

  // The combo box's current text: the chosen item or whatever the user typed.
  virtual std::string TextoCertificado() const = 0;
};

}  // namespace tolvane
