#include "update/caminhos_atualizacao.h"

#include "core/texto.h"

namespace tolvane {

std::string PastaAtualizacaoDe(std::string_view ACaminhoIniServidor, char ASeparador) {
  // Byte positions serve for character positions here: the separator is ASCII, and no byte of
  // a multi-byte UTF-8 character equals an ASCII one.
  std::size_t ultimo = 0;
  std::size_t anterior = 0;
  for (std::size_t i = 1; i < ACaminhoIniServidor.size(); ++i) {  // 1-based; the last one skipped
    if (ACaminhoIniServidor[i - 1] != ASeparador) continue;
    if (ultimo != 0) anterior = ultimo;
    ultimo = i;
  }
  return std::string(ACaminhoIniServidor.substr(0, anterior)) + "Update";
}

CaminhosAtualizacao CalcularCaminhosAtualizacao(std::string_view ACaminhoIniServidor,
                                                std::string_view ACaminhoExecutavel,
                                                char ASeparador) {
  CaminhosAtualizacao c;
  const std::size_t barra = ACaminhoExecutavel.rfind(ASeparador);
  if (barra == std::string_view::npos) {
    c.sNomeExecutavel = ACaminhoExecutavel;
  } else {
    c.sNomeExecutavel = ACaminhoExecutavel.substr(barra + 1);
    c.sPastaExecutavel = ACaminhoExecutavel.substr(0, barra);
  }
  c.sPastaAtualizacao = PastaAtualizacaoDe(ACaminhoIniServidor, ASeparador);
  c.sPastaAtualizacaoCodificada = CodificarBrancos(c.sPastaAtualizacao);
  c.sPastaExecutavelCodificada = CodificarBrancos(c.sPastaExecutavel);
  return c;
}

std::vector<std::string> ArgumentosAtualizador(const CaminhosAtualizacao& ACaminhos) {
  return {"@F1", "@M" + ACaminhos.sPastaAtualizacaoCodificada,
          "@E" + ACaminhos.sPastaExecutavelCodificada, "@A" + ACaminhos.sNomeExecutavel};
}

}  // namespace tolvane
