#include "core/aplicacao.h"

#include "core/texto.h"

namespace tolvane {

void Aplicacao::MostrarErro(const std::exception& AErro) {
  MessageBox(ComPontoFinal(AErro.what()), Title(), kMbOk | kMbIconError);
}

}  // namespace tolvane
