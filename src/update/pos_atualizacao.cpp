#include "update/modulo_atualizacao.h"

#include "core/caminho.h"
#include "core/texto.h"
#include "platform/area_trabalho.h"
#include "platform/atalho.h"
#include "platform/nomes.h"
#include "platform/perfil.h"
#include "update/sistema_arquivos.h"

namespace tolvane {

namespace {

bool EhExecutavelDoErp(std::string_view ANome) {
  return ANome == "tolvaneEmpresa.exe" || ANome == "tolvaneEmpresa4.exe";
}

// The search pattern "*.exe" as the Windows directory search reads it: letter case ignored.
bool CasaComExe(std::string_view ANome) {
  constexpr std::string_view kExe = ".exe";
  if (ANome.size() < kExe.size()) return false;
  return IguaisSemCaixaAscii(ANome.substr(ANome.size() - kExe.size()), kExe);
}

}  // namespace

std::string ObterPastaAreaTrabalho() {
  const std::string pasta = PastaAreaTrabalho();
  return pasta.empty() ? std::string() : pasta + kSeparador;
}

std::string NomeAtalho(std::string_view ANomeExecutavel) {
  std::string nome = NomeSemSufixo(ANomeExecutavel);
  if (const auto ponto = nome.rfind('.'); ponto != std::string::npos) nome.resize(ponto);
  return nome;
}

void ModuloAtualizacao::ProcessarMarcadoresExec() {
  const std::string marcador =
      NaPastaExecutavel(NomeMarcadorAtualizacao(FCaminhos.sNomeExecutavel));
  const std::string segundo = NaPastaExecutavel(NomeSegundoMarcador(FCaminhos.sNomeExecutavel));
  if (ExisteArquivo(marcador)) {
    CriarAtalhoAreaTrabalho();
    ApagarArquivo(segundo);
    if (EhExecutavelDoErp(FCaminhos.sNomeExecutavel)) CopiarExecutaveisPastaMestre();
    ApagarArquivo(marcador);
  }
  ApagarArquivo(segundo);
}

void ModuloAtualizacao::CriarAtalhoAreaTrabalho() {
  const std::string pasta = ObterPastaAreaTrabalho();
  if (pasta.empty()) return;  // no desktop to put it on
  GravarAtalho(
      pasta + "Novo " + NomeAtalho(FCaminhos.sNomeExecutavel) + std::string(ExtensaoAtalho()),
      CaminhoExecutavelAtual(), NomeSemSufixo(FCaminhos.sNomeExecutavel));
}

void ModuloAtualizacao::CopiarExecutaveisPastaMestre() {
  const std::string mestre =
      LerPerfil(NaPastaExecutavel(NomeMarcadorAtualizacao(FCaminhos.sNomeExecutavel)),
                "configuracao", "pastamestre");
  // Without a master folder the search would fall to the root folder.
  if (mestre.empty()) return;
  const std::string destino = DecodificarBrancos(FCaminhos.sPastaAtualizacaoCodificada);

  namespace fs = std::filesystem;
  std::error_code ec;
  for (fs::directory_iterator it(CaminhoDe(mestre), ec), fim; !ec && it != fim; it.increment(ec)) {
    const std::string nome = TextoDe(it->path().filename());
    if (!CasaComExe(nome)) continue;
    const std::string alvo = JuntarCaminho(destino, nome);
    if (!ExisteArquivo(alvo)) CopiarArquivoNovo(JuntarCaminho(mestre, nome), alvo);
  }
}

}  // namespace tolvane
