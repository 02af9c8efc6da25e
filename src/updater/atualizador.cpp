#include "updater/atualizador.h"

#include <filesystem>
#include <optional>

#include "core/caminho.h"
#include "core/erro.h"
#include "platform/espera_programa.h"
#include "platform/nomes.h"
#include "platform/processo.h"
#include "platform/substituicao_executavel.h"
#include "updater/argumentos.h"
#include "updater/marcador.h"

namespace tolvane {

namespace {

constexpr std::string_view kPrefixo = "tolvaneAtualizador: ";

// After a replacement that did not happen: the program the updater found is started again, so
// that a refused update never leaves the user without it, with the reason in the failure marker
// beside it. When the marker cannot be written (a read-only folder), the reason goes in the
// environment instead; without either, the program would only hand over again, for ever.
void IniciarProgramaAntigo(const std::string& APastaExecutavel, const std::string& ANome,
                           const std::string& AExecutavel, const std::string& AMotivo,
                           std::ostream& AErros) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(CaminhoDe(AExecutavel), ec)) return;  // none to start
  try {
    GravarMarcadorFalha(APastaExecutavel, ANome, AMotivo);
  } catch (const Erro& e) {
    AErros << kPrefixo << "O marcador de falha não pôde ser gravado: " << e.Mensagem() << "\n";
    DefinirVariavelAmbiente(kVariavelFalhaAtualizacao, AMotivo);
  }
  std::filesystem::current_path(CaminhoDe(APastaExecutavel), ec);
  const std::string falha = IniciarPrograma(AExecutavel, {});
  if (!falha.empty())
    AErros << kPrefixo << "O executável \"" << AExecutavel
           << "\" não pôde ser iniciado de novo: " << falha << ".\n";
}

}  // namespace

int ExecutarAtualizador(const std::vector<std::string>& AArgumentos, std::ostream& AErros,
                        std::chrono::milliseconds ALimiteEspera, const FontePublicador& AFonte) {
  ArgumentosAtualizador a;
  try {
    a = LerArgumentos(AArgumentos);
  } catch (const Erro& e) {
    AErros << kPrefixo << e.Mensagem() << "\n" << kPrefixo << kUsoAtualizador << "\n";
    return kSaidaParametros;
  }

  // Relative folders are taken from the directory the updater started in, before it moves to the
  // executable folder.
  std::error_code ec;
  const auto absoluto = std::filesystem::absolute(CaminhoDe(a.PastaExecutavel), ec);
  const std::string pastaExecutavel = ec ? a.PastaExecutavel : TextoDe(absoluto);
  const std::string executavel = JuntarCaminho(pastaExecutavel, a.NomeExecutavel);

  if (!EsperarFimPrograma(executavel, ALimiteEspera))
    AErros << kPrefixo << "O programa \"" << executavel << "\" não terminou em "
           << std::chrono::duration_cast<std::chrono::seconds>(ALimiteEspera).count()
           << " s; ele é substituído mesmo assim.\n";

  const std::string origem = JuntarCaminho(a.PastaAtualizacao, a.NomeExecutavel);
  try {
    // The program checked the server copy before it handed over, but the folder may have changed
    // since: what is checked here is the copy that goes in place.
    const std::optional<Publicador> publicador = AFonte ? AFonte() : Publicador::DoProgramaAtual();
    ConferenciaCopia conferir;
    if (publicador)
      conferir = [&](const std::string& ACopia) { return publicador->Verificar(ACopia, origem); };
    SubstituirExecutavel(origem, pastaExecutavel, a.NomeExecutavel, conferir);
  } catch (const Erro& e) {
    AErros << kPrefixo << e.Mensagem() << " Nada foi substituído.\n";
    IniciarProgramaAntigo(pastaExecutavel, a.NomeExecutavel, executavel, e.Mensagem(), AErros);
    return kSaidaFalhou;
  }

  int saida = kSaidaAtualizado;
  std::string pastaMestre;
  try {
    pastaMestre = LerDicaPastaMestre(a.PastaAtualizacao);
  } catch (const Erro& e) {
    AErros << kPrefixo << e.Mensagem() << " O marcador fica sem pasta mestre.\n";
  }
  try {
    GravarMarcadorAtualizacao(pastaExecutavel, a.NomeExecutavel, pastaMestre);
  } catch (const Erro& e) {
    AErros << kPrefixo << e.Mensagem() << "\n";
    saida = kSaidaIncompleta;
  }

  std::filesystem::current_path(CaminhoDe(pastaExecutavel), ec);
  if (ec) {
    AErros << kPrefixo << "Não foi possível entrar na pasta do executável \"" << pastaExecutavel
           << "\": " << ec.message() << ".\n";
    return kSaidaIncompleta;
  }
  const std::string falha = IniciarPrograma(executavel, {});
  if (!falha.empty()) {
    AErros << kPrefixo << "O executável \"" << executavel
           << "\" foi atualizado, mas não pôde ser iniciado: " << falha << ".\n";
    return kSaidaIncompleta;
  }
  return saida;
}

}  // namespace tolvane
