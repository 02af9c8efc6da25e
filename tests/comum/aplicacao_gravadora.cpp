#include "comum/aplicacao_gravadora.h"

namespace tolvane::teste {

int AplicacaoGravadora::MessageBox(const std::string& ATexto, const std::string& ACaption,
                                   unsigned AFlags) {
  Registro.push_back("MessageBox(" + ACaption + ", " + std::to_string(AFlags) + "): " + ATexto);
  Mensagens.push_back({ATexto, ACaption, AFlags});
  return 1;
}

void AplicacaoGravadora::MostrarAviso(const std::string& ATexto, bool AComConfirmacao,
                                      bool AFecharAutomatico) {
  Registro.push_back(std::string("MostrarAviso(") + (AComConfirmacao ? "true" : "false") + ", " +
                     (AFecharAutomatico ? "true" : "false") + "): " + ATexto);
  Avisos.push_back({ATexto, AComConfirmacao, AFecharAutomatico});
}

void AplicacaoGravadora::EncerrarProcesso(int ACodigoSaida) {
  Registro.push_back("EncerrarProcesso(" + std::to_string(ACodigoSaida) + ")");
  throw FimDoProcesso{ACodigoSaida};
}

}  // namespace tolvane::teste
