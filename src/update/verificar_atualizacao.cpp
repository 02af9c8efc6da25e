#include "update/modulo_atualizacao.h"

#include <cstdlib>
#include <optional>

#include "core/texto.h"
#include "platform/nomes.h"
#include "platform/perfil.h"
#include "platform/processo.h"
#include "platform/regional.h"
#include "update/data_hora_arquivo.h"
#include "update/entrega_assinada.h"
#include "update/sistema_arquivos.h"

namespace tolvane {

namespace {

constexpr const char* kMarcadorDesenvolvedor = "DebugarDelphi.tmp";
constexpr const char* kFinalizado = "\rO Sistema será finalizado.";
constexpr const char* kContinua = "\rO Sistema continuará com a versão atual.";

}  // namespace

ModuloAtualizacao::ModuloAtualizacao(Aplicacao& AAplicacao, IniciadorPrograma AIniciador,
                                     FontePublicador AFonte)
    : FAplicacao(AAplicacao),
      FIniciador(AIniciador ? std::move(AIniciador) : IniciadorPrograma(IniciarPrograma)),
      FFontePublicador(std::move(AFonte)) {}

void ModuloAtualizacao::DefinirCaminhosAtualizacao(const std::string& ALocaIniServidor) {
  FCaminhos = CalcularCaminhosAtualizacao(ALocaIniServidor, FAplicacao.ExeName());
}

std::string ModuloAtualizacao::NaPastaExecutavel(std::string_view ANome) const {
  return FCaminhos.sPastaExecutavel + kSeparador + std::string(ANome);
}

std::string ModuloAtualizacao::CaminhoExecutavelAtual() const {
  return NaPastaExecutavel(FCaminhos.sNomeExecutavel);
}

void ModuloAtualizacao::EncerrarComMensagem(const std::string& ATexto, unsigned AFlags) {
  FAplicacao.MessageBox(ATexto, kTituloAvisoSistema, AFlags);
  FAplicacao.EncerrarProcesso(kSaidaFalhaFatal);
  std::abort();  // not reached: the compiler does not carry [[noreturn]] through a virtual call
}

std::string TextoAvisoNovaVersao(std::string_view ANomeExecutavel) {
  return "AVISO: Existe uma nova versão do aplicativo " +
         std::string(ANomeExecutavel.substr(0, ANomeExecutavel.find('.'))) +
         ". A atualização será feita automaticamente. Aguarde...";
}

void ModuloAtualizacao::VerificarAtualizacao(const std::function<void()>& AVerificarVersaoParametro,
                                             int AModo) {
  const CaminhosAtualizacao& c = FCaminhos;

  if (ExisteArquivo(NaPastaExecutavel(kMarcadorDesenvolvedor))) {
    FAplicacao.MessageBox("O aplicativo " + c.sNomeExecutavel + " não será atualizado. A pasta " +
                              c.sPastaExecutavel + " está com o arquivo " + kMarcadorDesenvolvedor,
                          kTituloAvisoSistema, kMbIconWarning);
    return;
  }

  if (!ExistePasta(c.sPastaAtualizacao)) CriarPasta(c.sPastaAtualizacao);

  ProcessarMarcadoresExec();

  const std::string atualizador = c.sPastaAtualizacao + kSeparador + NomeAtualizador();
  if (!ExisteArquivo(atualizador))
    EncerrarComMensagem(
        "Não foi encontrado o tolvane Atualizador no Servidor. Entre em contato com o suporte "
        "técnico da tolvane.",
        kMbOk);

  if (AVerificarVersaoParametro) AVerificarVersaoParametro();

  if (AModo != 1) return;

  // The updater's rule for a server copy: a regular file, links followed. Anything else would
  // only be handed over to be refused.
  const std::string copiaServidor = c.sPastaAtualizacao + kSeparador + c.sNomeExecutavel;
  if (!ExisteArquivoComum(copiaServidor))
    EncerrarComMensagem("Falha na atualização do aplicativo. Não foi encontrado o arquivo " +
                            c.sNomeExecutavel + " na pasta " + c.sPastaAtualizacao + "." +
                            kFinalizado,
                        kMbIconWarning);

  // Both texts through the same settings, read once.
  const ConfiguracaoRegional cfg = LerConfiguracaoRegional();
  const std::string dataExecutavel = DataHoraArquivo(CaminhoExecutavelAtual(), cfg);
  const std::string dataServidor = DataHoraArquivo(copiaServidor, cfg);
  const std::string marcadorFalha = NaPastaExecutavel(NomeMarcadorFalha(c.sNomeExecutavel));
  if (!DatasHorasDiferem(dataExecutavel, dataServidor, cfg)) {
    ApagarArquivo(marcadorFalha);  // a failure settled since
    return;
  }

  // The updater replaced nothing at the last hand-over and started this copy again. Handing over
  // once more would only repeat that, so this start says why and goes on with this version; the
  // next start tries again.
  std::optional<std::string> motivo = LerVariavelAmbiente(kVariavelFalhaAtualizacao);
  if (ExisteArquivo(marcadorFalha)) {
    motivo = LerPerfil(marcadorFalha, "falha", "motivo");
    ApagarArquivo(marcadorFalha);
  }
  if (motivo) {
    if (EhBranco(*motivo)) *motivo = "O tolvane Atualizador não substituiu o executável.";
    FAplicacao.MessageBox("Falha na atualização do aplicativo. " + *motivo + kContinua,
                          kTituloAvisoSistema, kMbIconWarning);
    return;
  }

  if (!ExisteArquivo(atualizador))
    EncerrarComMensagem("Falha na atualização do aplicativo. Não foi encontrado o arquivo " +
                            NomeAtualizador() + " na pasta " + c.sPastaAtualizacao + "." +
                            kFinalizado,
                        kMbIconWarning);

  // Checked before the notice: a release this program will not install is not announced.
  const Entrega entrega = PrepararEntrega(FFontePublicador, atualizador, copiaServidor);
  if (!entrega.Recusa.empty()) {
    FAplicacao.MessageBox("Falha na atualização do aplicativo. " + entrega.Recusa + kContinua,
                          kTituloAvisoSistema, kMbIconWarning);
    return;
  }

  FAplicacao.MostrarAviso(TextoAvisoNovaVersao(c.sNomeExecutavel), false, true);

  // An updater that did not start would leave the user with neither the program nor the
  // update, so that end is reported and ends with a failure code.
  if (!FIniciador(entrega.Atualizador, ArgumentosAtualizador(c)).empty())
    EncerrarComMensagem("Falha na atualização do aplicativo. Não foi possível iniciar o arquivo " +
                            NomeAtualizador() + " na pasta " + c.sPastaAtualizacao + "." +
                            kFinalizado,
                        kMbIconWarning);

  FAplicacao.EncerrarProcesso(0);
}

}  // namespace tolvane
