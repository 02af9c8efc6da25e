#pragma once

#include <string>
#include <vector>

#include "core/aplicacao.h"

namespace tolvane::teste {

// Thrown by the recording application where the real one would end the process.
struct FimDoProcesso {
  int Codigo;
};

// An application object that records what the flows ask of it instead of showing anything.
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

  std::vector<Mensagem> Mensagens;
  std::vector<Aviso> Avisos;
  // Everything asked, in order: "MessageBox", "MostrarAviso", "ProcessMessages", "Terminate".
  std::vector<std::string> Chamadas;
  std::string Titulo = "tolvane Gestor";
  std::string Exe = "/opt/tolvane/tolvaneGestor";
  bool Mostrar = false;

  std::string Title() const override { return Titulo; }
  void SetTitle(const std::string& ATitulo) override { Titulo = ATitulo; }
  bool ShowMainForm() const override { return Mostrar; }
  void SetShowMainForm(bool AMostrar) override { Mostrar = AMostrar; }
  std::string ExeName() const override { return Exe; }
  bool Terminated() const override { return false; }
  void ProcessMessages() override { Chamadas.push_back("ProcessMessages"); }
  void Terminate() override { Chamadas.push_back("Terminate"); }
  int MessageBox(const std::string& ATexto, const std::string& ACaption, unsigned AFlags) override {
    Chamadas.push_back("MessageBox");
    Mensagens.push_back({ATexto, ACaption, AFlags});
    return 1;
  }
  void MostrarAviso(const std::string& ATexto, bool AComConfirmacao,
                    bool AFecharAutomatico) override {
    Chamadas.push_back("MostrarAviso");
    Avisos.push_back({ATexto, AComConfirmacao, AFecharAutomatico});
  }
  [[noreturn]] void EncerrarProcesso(int ACodigoSaida) override {
    throw FimDoProcesso{ACodigoSaida};
  }
};

}  // namespace tolvane::teste
