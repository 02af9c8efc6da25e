#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/aplicacao.h"
#include "platform/publicador.h"
#include "update/caminhos_atualizacao.h"

namespace tolvane {

// Starts a program without waiting for it, each argument reaching it as it is. Returns an empty
// text on success, else the failure's text: the shape of IniciarPrograma (platform/processo.h),
// which is the starter the module uses unless a test gives its own.
using IniciadorPrograma = std::function<std::string(const std::string& APrograma,
                                                    const std::vector<std::string>& AArgumentos)>;

// The update module: keeps the workstation's copy of the running executable equal to the copy
// in the update folder on the file server, and runs the post-update tasks.
//
// The application owns one object for the whole run (it holds the module strings). Everything
// runs on the GUI thread. Fatal failures show their message box and then end the process with
// Aplicacao::EncerrarProcesso; errors that the module does not handle itself (reading a file
// time, reading a date-time text back, the parameter-table step, the shortcut machinery) leave
// the call as exceptions.
//
// Defined in two files, one per task: verificar_atualizacao.cpp (the construction, the update
// check and the hand-over) and pos_atualizacao.cpp (the post-update tasks).
class ModuloAtualizacao {
 public:
  // AFonte: the program's publisher (see PrepararEntrega); the running program's unless a test
  // gives its own.
  explicit ModuloAtualizacao(Aplicacao& AAplicacao, IniciadorPrograma AIniciador = nullptr,
                             FontePublicador AFonte = nullptr);

  // Fixes the module strings from the running executable (Aplicacao::ExeName) and the full path
  // of the ERP's server INI. Called once, right after the database connection has opened.
  void DefinirCaminhosAtualizacao(const std::string& ALocaIniServidor);

  // The start-up update check. AVerificarVersaoParametro is the parameter-table step, run after
  // the post-update tasks once the updater is known to be there; mode 1 runs the whole check,
  // any other mode ends it after that step. Returns when the program goes on; on a new version
  // it shows the notice, starts the updater and ends the process with exit code 0 — unless the
  // updater left the failure marker (NomeMarcadorFalha) or its variable at the last hand-over:
  // then it says why once, deletes the marker and returns without handing over. A program with a
  // publisher hands over only to an updater and a release signed by it (PrepararEntrega); else it
  // says why, as after a failed update, and returns.
  void VerificarAtualizacao(const std::function<void()>& AVerificarVersaoParametro, int AModo);

  // The post-update tasks: when the update marker lies beside the executable, the desktop
  // shortcut, the master-folder copy for the ERP's executables, and the markers' deletion; the
  // second marker is deleted at every call.
  void ProcessarMarcadoresExec();

  // Creates or replaces the desktop shortcut "Novo <name>" to the running executable.
  void CriarAtalhoAreaTrabalho();

  // Copies every "*.exe" of the update marker's master folder ("configuracao"/"pastamestre")
  // that the update folder lacks; never replaces a file. An empty master folder copies nothing.
  void CopiarExecutaveisPastaMestre();

  const CaminhosAtualizacao& Caminhos() const { return FCaminhos; }

 private:
  [[noreturn]] void EncerrarComMensagem(const std::string& ATexto, unsigned AFlags);
  std::string CaminhoExecutavelAtual() const;
  std::string NaPastaExecutavel(std::string_view ANome) const;

  Aplicacao& FAplicacao;
  IniciadorPrograma FIniciador;
  FontePublicador FFontePublicador;
  CaminhosAtualizacao FCaminhos;
};

// The user's desktop folder followed by the separator; empty when the platform gives none.
std::string ObterPastaAreaTrabalho();

// Name of the desktop shortcut without "Novo " and the extension: the executable name without
// its executable suffix, further cut before its last "." when one is left.
std::string NomeAtalho(std::string_view ANomeExecutavel);

// The notice of a new version: "AVISO: Existe uma nova versão do aplicativo " + the name up to
// its first "." + ". A atualização será feita automaticamente. Aguarde...".
std::string TextoAvisoNovaVersao(std::string_view ANomeExecutavel);

}  // namespace tolvane
