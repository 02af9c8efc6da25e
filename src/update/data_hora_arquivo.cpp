#include "update/data_hora_arquivo.h"

#include "core/erro.h"
#include "platform/arquivos.h"
#include "platform/regional.h"

namespace tolvane {

std::string DataHoraArquivo(const std::string& ACaminho) {
  return DataHoraArquivo(ACaminho, LerConfiguracaoRegional());
}

std::string DataHoraArquivo(const std::string& ACaminho, const ConfiguracaoRegional& ACfg) {
  const auto valor = DataModificacaoArquivo(ACaminho);
  // No valid DOS date: the date-time value cannot be made from it.
  if (!valor) throw ErroCodificacaoData();
  return FormatarDataHoraGeral(*valor, ACfg);
}

bool DatasHorasDiferem(std::string_view ATextoExecutavel, std::string_view ATextoServidor,
                       const ConfiguracaoRegional& ACfg) {
  return LerDataHoraGeral(ATextoServidor, ACfg) != LerDataHoraGeral(ATextoExecutavel, ACfg);
}

}  // namespace tolvane
