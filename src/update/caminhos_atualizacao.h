#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/nomes.h"

namespace tolvane {

// The module strings of the update module, fixed once per run by DefinirCaminhosAtualizacao.
struct CaminhosAtualizacao {
  // File name of the running executable, taken from its full path.
  std::string sNomeExecutavel;
  // Folder of the running executable, without a trailing separator.
  std::string sPastaExecutavel;
  // The update folder on the file server: a sibling "Update" of the server INI's folder.
  std::string sPastaAtualizacao;
  // The two folders with every blank turned into "§", for the updater's arguments.
  std::string sPastaAtualizacaoCodificada;
  std::string sPastaExecutavelCodificada;
};

// The update folder for the server INI's path: the path up to and including its last-but-one
// separator, followed by "Update". The path's last character is never examined, so a trailing
// separator does not count; with fewer than two separators before it the folder is the bare
// "Update". The separator is a parameter so that both platforms' paths can be checked anywhere.
std::string PastaAtualizacaoDe(std::string_view ACaminhoIniServidor, char ASeparador = kSeparador);

// The module strings for the server INI's path and the running executable's full path.
CaminhosAtualizacao CalcularCaminhosAtualizacao(std::string_view ACaminhoIniServidor,
                                                std::string_view ACaminhoExecutavel,
                                                char ASeparador = kSeparador);

// The updater's four arguments: "@F1", "@M" + encoded update folder, "@E" + encoded executable
// folder, "@A" + executable name (unchanged). Each is one argument: nothing is quoted.
std::vector<std::string> ArgumentosAtualizador(const CaminhosAtualizacao& ACaminhos);

}  // namespace tolvane
