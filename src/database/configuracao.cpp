#include "database/configuracao.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "core/caminho.h"
#include "core/texto.h"
#include "platform/nomes.h"
#include "platform/perfil.h"

namespace tolvane {

namespace {

bool ArquivoRegular(const std::string& ACaminho) {
  if (ACaminho.empty()) return false;
  std::error_code ec;
  return std::filesystem::is_regular_file(CaminhoDe(ACaminho), ec);
}

}  // namespace

std::string CaminhoIniLocal(const std::string& APastaExecutavel) {
  const std::string pasta = APastaExecutavel + kSeparador;
  const bool versao4 = ArquivoRegular(pasta + "tolvaneempresa4.exe");
  return pasta + (versao4 ? "tolvaneempresa4" : "tolvaneempresa") + ".ini";
}

std::string LerCaminhoIniServidor(const std::string& ACaminhoIniLocal) {
  return LerPerfil(ACaminhoIniLocal, "IniServidor", "nomearquivo");
}

bool ExisteIniServidor(const std::string& ACaminho) { return ArquivoRegular(ACaminho); }

void LerIniServidor(ConfiguracaoBanco& AConfiguracao) {
  auto valores =
      LerValoresPerfil(AConfiguracao.locainiServidor, "Database", {"Servidor", "path", "name"});
  AConfiguracao.sServidor = std::move(valores[0]);
  AConfiguracao.sPath = std::move(valores[1]);
  AConfiguracao.sBanco = std::move(valores[2]);
}

bool LerConfiguracao(const std::string& APastaExecutavel, ConfiguracaoBanco& AConfiguracao) {
  AConfiguracao = {};
  AConfiguracao.locainiServidor = LerCaminhoIniServidor(CaminhoIniLocal(APastaExecutavel));
  if (!ExisteIniServidor(AConfiguracao.locainiServidor)) return false;
  LerIniServidor(AConfiguracao);
  return true;
}

std::string MontarStringConexao(const ConfiguracaoBanco& AConfiguracao) {
  if (EhBranco(AConfiguracao.sServidor)) return AConfiguracao.sPath + AConfiguracao.sBanco;
  return AConfiguracao.sServidor + ":" + AConfiguracao.sPath + AConfiguracao.sBanco;
}

}  // namespace tolvane
