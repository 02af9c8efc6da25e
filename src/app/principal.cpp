#include "app/principal.h"

#include <filesystem>

#include "classtrib/consulta_teste.h"
#include "classtrib/lista_certificados.h"
#include "core/caminho.h"
#include "core/erro.h"
#include "database/configuracao.h"
#include "database/versao_parametro.h"

namespace tolvane {

namespace {

// Kind name and text of any failure, for the messages that name the kind.
std::string ClasseEMensagem(const std::exception& AErro) {
  const auto* erro = dynamic_cast<const Erro*>(&AErro);
  return (erro ? erro->Classe() : std::string("Exception")) + ": " + AErro.what();
}

}  // namespace

Principal::Principal(Aplicacao& AAplicacao, JanelaPrincipal& AJanela)
    : FAplicacao(AAplicacao), FJanela(AJanela), FAtualizacao(AAplicacao) {}

void Principal::FormCreate() {
  try {
    const std::string conexao = LerConfiguracaoBanco();
    ConectarBancoDados(conexao);
    FJanela.DefinirDicaBandeja("tolvane Gestor");
    FAtualizacao.VerificarAtualizacao([this] { VerificarVersaoParametro(*IBD_BancoDados); }, 1);
    FAplicacao.ProcessMessages();
    PreencherListaCertificados();
    FAplicacao.SetShowMainForm(true);
  } catch (const std::exception& e) {
    FAplicacao.MostrarErro(e);
  }
}

void Principal::Sair1Click() {
  try {
    DesconectarBancoDados();
    FAplicacao.ProcessMessages();
    FAplicacao.Terminate();
  } catch (const std::exception& e) {
    FAplicacao.MostrarErro(e);
  }
}

void Principal::BitBtn2Click() {
  const std::string caminho = ExecutarConsultaTeste(FJanela.TextoCertificado(), PastaExecutavel());
  FAplicacao.MessageBox("Arquivo salvo em:\r\n" + caminho, FAplicacao.Title(), kMbOk);
}

std::string Principal::PastaExecutavel() const {
  return TextoDe(CaminhoDe(FAplicacao.ExeName()).parent_path());
}

std::string Principal::LerConfiguracaoBanco() {
  ConfiguracaoBanco configuracao;
  const bool existe = LerConfiguracao(PastaExecutavel(), configuracao);
  locainiServidor = configuracao.locainiServidor;
  if (!existe) {
    FAplicacao.MessageBox("Não foi encontrado o arquivo de inicialização", kTituloAvisoSistema,
                          kMbOk | kMbIconError);
    FAplicacao.EncerrarProcesso(kSaidaFalhaFatal);
  }
  sServidor = configuracao.sServidor;
  sPath = configuracao.sPath;
  sBanco = configuracao.sBanco;
  return MontarStringConexao(configuracao);
}

void Principal::ConectarBancoDados(const std::string& AStringConexao) {
  // Creating the connection loads the database client; its failure goes to the caller.
  IBD_BancoDados = std::make_unique<ConexaoBanco>();
  IBT_BancoDados = std::make_unique<TransacaoBanco>();
  ConfigurarBancoDados(*IBD_BancoDados, *IBT_BancoDados, AStringConexao);
  try {
    IBD_BancoDados->Abrir();
    FAtualizacao.DefinirCaminhosAtualizacao(locainiServidor);
  } catch (const std::exception& e) {
    FAplicacao.MessageBox(
        "O Sistema não conseguiu conectar com a base de dados.\r" + ClasseEMensagem(e),
        kTituloAvisoSistema, kMbOk | kMbIconError);
    FAplicacao.EncerrarProcesso(kSaidaFalhaFatal);
  }
}

void Principal::DesconectarBancoDados() {
  // A failed detach leaves the connection marked closed and both objects in place; the next
  // call then frees them.
  if (IBD_BancoDados && IBD_BancoDados->Aberta()) IBD_BancoDados->Fechar();
  IBT_BancoDados.reset();
  IBD_BancoDados.reset();
}

void Principal::PreencherListaCertificados() {
  FJanela.LimparCertificados();
  for (const std::string& nome : ListarNomesCertificados()) FJanela.AdicionarCertificado(nome);
}

}  // namespace tolvane
