#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace tolvane {

// A window's designed layout as data: both frontends build their windows from it, and the layout
// tests check the built windows against it. Places and sizes are pixels at 96 dots per inch.

enum class TipoControle {
  PaginaControle,  // tab control; its pages are the rows whose Pai names it
  Pagina,
  Rotulo,
  RotuloSombra,    // label with a 1-pixel shadow in the button-highlight colour
  LinhaGravada,    // horizontal etched line, 2 pixels high
  MolduraGravada,  // lowered etched frame
  Botao,
  CaixaCombinacao,
  CaixaMarcacao,
  Painel,  // raised panel
  Imagem,
  Menu,  // pop-up menu, no window of its own; its items are the rows whose Pai names it
  ItemMenu,
  SeparadorMenu,
};

// The pictures compiled into the program.
enum class Figura { Nenhuma, SetaBaixo, Ok, Logo };

enum class CorTexto { Janela, Preta, Azul };

struct Fonte {
  std::string_view Familia = {};
  int Pixels = 0;  // character height
  bool Italica = false;
};

// Width or height of a control that is as large as its text.
inline constexpr int kTamanhoDoTexto = -1;

struct Controle {
  std::string_view Nome = {};
  TipoControle Tipo = TipoControle::Rotulo;
  std::string_view Pai = {};  // empty: the window itself
  int Esquerda = 0;
  int Topo = 0;
  int Largura = kTamanhoDoTexto;
  int Altura = kTamanhoDoTexto;
  std::string_view Texto = {};                       // caption; "&" marks the access key
  std::optional<Fonte> FontePropria = std::nullopt;  // none: the window's font
  CorTexto Cor = CorTexto::Janela;
  Figura Imagem = Figura::Nenhuma;
  int OrdemTab = -1;  // place in its parent's tab order; -1: reached by Tab not at all
  bool Visivel = true;
  bool Habilitado = true;
  bool Centralizado = false;     // text centred in its width
  bool QuebraPalavras = false;   // words wrap within the width
  bool Digitavel = false;        // a combo box whose text can also be typed
  bool Selecionavel = false;     // a label whose text can be selected with the mouse
  bool AncoradoEmbaixo = false;  // docked to the bottom edge, full width
  bool PaginaInicial = false;    // the page shown first
  bool FocoInicial = false;      // has the focus when the window is first shown
};

enum class PosicaoJanela {
  Projetada,          // Esquerda, Topo of the layout: the outer window's top-left corner
  CentroAreaTrabalho  // centred in the work area (the screen less the taskbar) when shown
};

struct LayoutJanela {
  std::string_view Nome = {};
  std::string_view Caption = {};
  PosicaoJanela Posicao = PosicaoJanela::Projetada;
  int Esquerda = 0;
  int Topo = 0;
  int LarguraCliente = 0;
  int AlturaCliente = 0;
  Fonte FonteJanela = {};
  bool BotoesTitulo = true;  // system menu and close box; false: no title-bar button at all
  bool IconePrograma = true;
  std::span<const Controle> Controles = {};  // in creation order, a parent before its children

  const Controle* Procurar(std::string_view ANome) const {
    for (const Controle& c : Controles)
      if (c.Nome == ANome) return &c;
    return nullptr;
  }
};

}  // namespace tolvane
