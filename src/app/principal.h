#pragma once

#include <memory>
#include <string>

#include "app/janela_principal.h"
#include "core/aplicacao.h"
#include "database/banco_dados.h"
#include "update/modulo_atualizacao.h"

namespace tolvane {

// The logic of the main window TfrmPrincipal: the start-up sequence, the database connection it
// owns for the whole run, and the handlers that do more than move windows. The frontend's window
// owns one and calls it from its own handlers.
class Principal {
 public:
  Principal(Aplicacao& AAplicacao, JanelaPrincipal& AJanela);
  Principal(const Principal&) = delete;
  Principal& operator=(const Principal&) = delete;

  // The start-up sequence, run while the main window is created. An error that a step does not
  // handle itself goes to the default error display; the later steps are skipped, so the main
  // window stays hidden, and the program runs on in the tray. Fatal failures end the process.
  void FormCreate();

  // "&Sair": closes the database connection, lets waiting messages through and requests the end.
  // An error while closing goes to the default error display and the program runs on.
  void Sair1Click();

  // "Testar Consulta": queries CST "000" with the certificate named in the combo box, saves the
  // answer beside the executable and says where. Errors leave it for the default error display.
  void BitBtn2Click();

  // The run's database connection and its transaction: null before the connection and after
  // DesconectarBancoDados.
  std::unique_ptr<ConexaoBanco> IBD_BancoDados;
  std::unique_ptr<TransacaoBanco> IBT_BancoDados;

 private:
  std::string LerConfiguracaoBanco();
  void ConectarBancoDados(const std::string& AStringConexao);
  void DesconectarBancoDados();
  void PreencherListaCertificados();
  std::string PastaExecutavel() const;

  Aplicacao& FAplicacao;
  JanelaPrincipal& FJanela;
  ModuloAtualizacao FAtualizacao;
  std::string locainiServidor;
  std::string sServidor;
  std::string sPath;
  std::string sBanco;
};

}  // namespace tolvane
