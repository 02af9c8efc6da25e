#include "app/versao.h"

#include "core/erro.h"
#include "platform/arquivos.h"
#include "platform/regional.h"

namespace tolvane {

std::string TextoVersao(const std::string& AExeName) {
  const auto data = DataModificacaoArquivo(AExeName);
  if (!data) throw ErroCodificacaoData();
  const ConfiguracaoRegional cfg = LerConfiguracaoRegional();
  return "Versão: " + FormatarData(*data, cfg) + " " + FormatarHoraMinutos(*data, cfg);
}

}  // namespace tolvane
