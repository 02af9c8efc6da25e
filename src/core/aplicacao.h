#pragma once

#include <string>

#include "core/erro.h"

namespace tolvane {

// Flags of the modal message box, with the values of the Windows message box. Named apart from
// windows.h, where MB_OK and the icons are macros.
inline constexpr unsigned kMbOk = 0x00;
inline constexpr unsigned kMbIconError = 0x10;
inline constexpr unsigned kMbIconWarning = 0x30;

// The caption of the system's notices: its message boxes and the notice window.
inline constexpr const char* kTituloAvisoSistema = "Aviso do Sistema";

// Exit code after a fatal start-up failure (a missing INI file, a failed connection, the
// updater or the server copy missing, the updater not started). The hand-over to a started
// updater ends with 0.
inline constexpr int kSaidaFalhaFatal = 1;

// The application object: what the system's flows ask of the windowing side. The frontends
// (Qt on Linux, Win32 on Windows) implement it; tests use a recording implementation.
class Aplicacao {
 public:
  virtual ~Aplicacao() = default;

  // Application title: caption of the default error display and text of the application window.
  virtual std::string Title() const = 0;
  virtual void SetTitle(const std::string& ATitulo) = 0;

  // Read when Run starts: the main window is made visible then when true.
  virtual bool ShowMainForm() const = 0;
  virtual void SetShowMainForm(bool AMostrar) = 0;

  // Full path of the running executable, links resolved.
  virtual std::string ExeName() const = 0;

  // True once a request to end has been taken from the message queue.
  virtual bool Terminated() const = 0;

  // Dispatches the window messages that are waiting, then returns.
  virtual void ProcessMessages() = 0;

  // Requests the end of the program and returns at once.
  virtual void Terminate() = 0;

  // A modal message box with an OK button; AFlags chooses the icon (kMbIconError,
  // kMbIconWarning or none). Returns the button chosen (1 for OK).
  virtual int MessageBox(const std::string& ATexto, const std::string& ACaption,
                         unsigned AFlags) = 0;

  // The notice window: shows ATexto modeless at the top-left corner, with the acknowledgement
  // check box and OK button when AComConfirmacao; with AFecharAutomatico it blocks five seconds
  // and closes the window before returning.
  virtual void MostrarAviso(const std::string& ATexto, bool AComConfirmacao,
                            bool AFecharAutomatico) = 0;

  // Ends the process at once with the exit code: no further message is processed and no
  // clean-up of the application runs (fatal start-up failures and the hand-over to the updater).
  [[noreturn]] virtual void EncerrarProcesso(int ACodigoSaida) = 0;

  // The default error display: the error's text, with "." added by the usual rule, in a modal
  // box captioned with the title and with the error icon. The program goes on.
  void MostrarErro(const std::exception& AErro);
};

}  // namespace tolvane
