#include "app/aplicacao_janelas_gravadora.h"

#include <algorithm>
#include <map>
#include <stdexcept>

#include "comum/aplicacao_gravadora.h"

namespace tolvane::teste {

namespace {

class JanelaGravada : public Janela {
 public:
  JanelaGravada(AplicacaoJanelasGravadora& AApp, const LayoutJanela& ALayout,
                EventosJanela& AEventos)
      : FApp(AApp), FLayout(ALayout), FNome(ALayout.Nome), FEventos(AEventos) {}

  // A control the window's layout does not have: a form asking for it is wrong, and a real
  // frontend would do nothing, so the tests hear of it here.
  std::string_view Conhecido(std::string_view AControle) const {
    if (!FLayout.Procurar(AControle))
      throw std::logic_error(FNome + " has no control \"" + std::string(AControle) + "\"");
    return AControle;
  }

  void Show() override {
    Anotar("Show");
    FVisivel = true;
  }
  void Hide() override {
    Anotar("Hide");
    FVisivel = false;
  }
  bool Visible() const override { return FVisivel; }
  int ShowModal() override {
    Anotar("ShowModal");
    return kMrCancel;
  }
  void Close() override {
    Anotar("Close");
    FVisivel = false;
    FEventos.FormClose();
  }
  void SetOuterSize(int L, int A) override {
    Anotar("SetOuterSize(" + std::to_string(L) + ", " + std::to_string(A) + ")");
  }
  void Repaint() override { Anotar("Repaint"); }
  bool Minimized() const override { return FApp.Minimizada; }
  void ShowNormal() override { Anotar("ShowNormal"); }
  void BringToFront() override { Anotar("BringToFront"); }
  void SetText(std::string_view C, const std::string& T) override {
    Conhecido(C);
    Anotar("SetText(" + std::string(C) + ", " + T + ")");
    FTextos[std::string(C)] = T;
  }
  std::string Text(std::string_view C) const override {
    const auto it = FTextos.find(std::string(Conhecido(C)));
    return it == FTextos.end() ? std::string() : it->second;
  }
  void SetVisible(std::string_view C, bool V) override {
    Conhecido(C);
    Anotar("SetVisible(" + std::string(C) + ", " + (V ? "1" : "0") + ")");
  }
  void SetEnabled(std::string_view C, bool H) override {
    Conhecido(C);
    Anotar("SetEnabled(" + std::string(C) + ", " + (H ? "1" : "0") + ")");
  }
  bool Enabled(std::string_view C) const override {
    Conhecido(C);
    return true;
  }
  bool Checked(std::string_view C) const override {
    Conhecido(C);
    return FMarcado;
  }
  void RepaintControl(std::string_view C) override {
    Conhecido(C);
    Anotar("RepaintControl(" + std::string(C) + ")");
  }
  void ClearItems(std::string_view C) override {
    Anotar("ClearItems(" + std::string(Conhecido(C)) + ")");
  }
  void AddItem(std::string_view C, const std::string& I) override {
    Conhecido(C);
    Anotar("AddItem(" + std::string(C) + ", " + I + ")");
  }

  bool FMarcado = false;

 private:
  void Anotar(const std::string& AOperacao) const {
    FApp.Registro.push_back(FNome + "." + AOperacao);
  }

  AplicacaoJanelasGravadora& FApp;
  const LayoutJanela& FLayout;
  std::string FNome;
  EventosJanela& FEventos;
  bool FVisivel = false;
  std::map<std::string, std::string> FTextos;
};

class BandejaGravada : public Bandeja {
 public:
  explicit BandejaGravada(AplicacaoJanelasGravadora& AApp) : FApp(AApp) {}
  void SetHint(const std::string& AHint) override { FApp.Registro.push_back("Tray.Hint " + AHint); }
  void SetPresent(bool APresente) override {
    FApp.Registro.push_back(std::string("Tray.Present ") + (APresente ? "1" : "0"));
    FPresente = APresente;
  }
  bool Present() const override { return FPresente; }

 private:
  AplicacaoJanelasGravadora& FApp;
  bool FPresente = false;
};

}  // namespace

void AplicacaoJanelasGravadora::ProcessMessages() {
  Registro.push_back("ProcessMessages");
  RodarFila();
}

void AplicacaoJanelasGravadora::RodarFila() {
  auto fila = std::move(FFila);
  FFila.clear();
  for (auto& acao : fila) acao();
}

int AplicacaoJanelasGravadora::MessageBox(const std::string& ATexto, const std::string& ACaption,
                                          unsigned AFlags) {
  Registro.push_back("MessageBox(" + ACaption + ", " + std::to_string(AFlags) + "): " + ATexto);
  return 1;
}

void AplicacaoJanelasGravadora::EncerrarProcesso(int ACodigoSaida) {
  Registro.push_back("EncerrarProcesso(" + std::to_string(ACodigoSaida) + ")");
  throw FimDoProcesso{ACodigoSaida};
}

std::unique_ptr<Janela> AplicacaoJanelasGravadora::CriarJanela(const LayoutJanela& ALayout,
                                                               EventosJanela& AEventos) {
  Registro.push_back("CriarJanela " + std::string(ALayout.Nome));
  FEventos.emplace_back(std::string(ALayout.Nome), &AEventos);
  return std::make_unique<JanelaGravada>(*this, ALayout, AEventos);
}

std::unique_ptr<Bandeja> AplicacaoJanelasGravadora::CriarBandeja(Janela& AJanela,
                                                                 std::string_view AMenu) {
  if (const auto* janela = dynamic_cast<const JanelaGravada*>(&AJanela)) janela->Conhecido(AMenu);
  Registro.push_back("CriarBandeja " + std::string(AMenu));
  return std::make_unique<BandejaGravada>(*this);
}

void AplicacaoJanelasGravadora::Sleep(int AMilissegundos) {
  Registro.push_back("Sleep(" + std::to_string(AMilissegundos) + ")");
}

void AplicacaoJanelasGravadora::DefinirTituloJanelaAplicacao(const std::string& ATitulo) {
  Registro.push_back("Title " + ATitulo);
}

EventosJanela& AplicacaoJanelasGravadora::Eventos(std::string_view ALayout) {
  const auto it = std::find_if(FEventos.rbegin(), FEventos.rend(),
                               [&](const auto& e) { return e.first == ALayout; });
  return *it->second;
}

}  // namespace tolvane::teste
