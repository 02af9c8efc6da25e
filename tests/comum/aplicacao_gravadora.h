#pragma once

#include <string>
#include <vector>

#include "core/aplicacao.h"

namespace tolvane::teste {

// Thrown by the recording application where the real one would end the process.
struct FimDoProcesso {
  int Codigo;
};

// An application object that records what the flows ask of it instead of showing anything;
// message boxes answer OK.
class AplicacaoGravadora : public Aplicacao {
 public:
  struct Mensagem {
    std::string Texto;
    std::string Caption;
    unsigned Flags;
  };
  struct Aviso {
    std::string Texto;
    bool ComConfirmacao;
    bool FecharAutomatico;
  };

  AplicacaoGravadora() = default;
  explicit AplicacaoGravadora(std::string AExe) : Exe(std::move(AExe)) {}

  std::vector<Mensagem> Mensagens;
  std::vector<Aviso> Avisos;
  // Everything asked, in order, a readable line each: "MessageBox(<caption>, <flags>): <text>",
  // "MostrarAviso(<true|false>, <true|false>): <text>", "ProcessMessages", "Terminate",
  // "EncerrarProcesso(<code>)". A test may add lines of its own, to see the order of events.
  std::vector<std::string> Registro;
  std::string Titulo = "tolvane Gestor";
  std::string Exe = "/opt/tolvane/tolvaneGestor";
  bool Mostrar = false;

  std::string Title() const override { return Titulo; }
  void SetTitle(const std::string& ATitulo) override { Titulo = ATitulo; }
  bool ShowMainForm() const override { return Mostrar; }
  void SetShowMainForm(bool AMostrar) override { Mostrar = AMostrar; }
  std::string ExeName() const override { return Exe; }
  bool Terminated() const override { return false; }
  void ProcessMessages() override { Registro.push_back("ProcessMessages"); }
  void Terminate() override { Registro.push_back("Terminate"); }
  int MessageBox(const std::string& ATexto, const std::string& ACaption, unsigned AFlags) override;
  void MostrarAviso(const std::string& ATexto, bool AComConfirmacao,
                    bool AFecharAutomatico) override;
  [[noreturn]] void EncerrarProcesso(int ACodigoSaida) override;
};

}  // namespace tolvane::teste
