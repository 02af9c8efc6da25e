#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/aplicacao_janelas.h"

namespace tolvane::teste {

// A frontend that builds no window: every primitive asked of the application, its windows and
// its tray is written to Registro, a readable line each ("frmSobre.ShowModal",
// "frmMensagemConfirmarGenerica.SetVisible(Panel1, 0)", "Sleep(5000)", ...). Posted actions run
// at the next ProcessMessages or at RodarFila.
class AplicacaoJanelasGravadora : public AplicacaoJanelas {
 public:
  ~AplicacaoJanelasGravadora() override { LiberarForms(); }

  std::vector<std::string> Registro;
  bool Terminado = false;
  bool Minimizada = false;

  bool Terminated() const override { return Terminado; }
  void ProcessMessages() override;
  void Terminate() override { Registro.push_back("Terminate"); }
  int MessageBox(const std::string& ATexto, const std::string& ACaption, unsigned AFlags) override;
  [[noreturn]] void EncerrarProcesso(int ACodigoSaida) override;
  void Initialize() override { Registro.push_back("Initialize"); }
  std::unique_ptr<Janela> CriarJanela(const LayoutJanela& ALayout,
                                      EventosJanela& AEventos) override;
  std::unique_ptr<Bandeja> CriarBandeja(Janela& AJanela, std::string_view AMenu) override;
  void Sleep(int AMilissegundos) override;

  // Runs the posted actions.
  void RodarFila();

  // The events of the window built last of that layout, as the frontend would send them.
  EventosJanela& Eventos(std::string_view ALayout);

 protected:
  void ExecutarLaco() override { Registro.push_back("Run loop"); }
  void DefinirTituloJanelaAplicacao(const std::string& ATitulo) override;
  void Postar(std::function<void()> AAcao) override { FFila.push_back(std::move(AAcao)); }

 private:
  std::vector<std::function<void()>> FFila;
  std::vector<std::pair<std::string, EventosJanela*>> FEventos;
};

}  // namespace tolvane::teste
