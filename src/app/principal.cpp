#include "app/principal.h"

namespace tolvane {

Principal::Principal(Aplicacao& AAplicacao, JanelaPrincipal& AJanela)
    : FAplicacao(AAplicacao), FJanela(AJanela) {}

void Principal::FormCreate() {
  try {
    // 1. LerConfiguracaoBanco and 2. ConectarBancoDados: the database subsystem.
    FJanela.DefinirDicaBandeja("tolvane Gestor");
    // 4. VerificarAtualizacao: the update check, which may hand over to the updater.
    FAplicacao.ProcessMessages();
    // 6. PreencherListaCertificados: the certificate list.
    FAplicacao.SetShowMainForm(true);
  } catch (const std::exception& e) {
    FAplicacao.MostrarErro(e);
  }
}

void Principal::Sair1Click() {
  try {
    // DesconectarBancoDados: the database subsystem.
    FAplicacao.ProcessMessages();
    FAplicacao.Terminate();
  } catch (const std::exception& e) {
    FAplicacao.MostrarErro(e);
  }
}

}  // namespace tolvane
