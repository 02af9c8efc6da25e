#pragma once

#include <string>

namespace tolvane {

// Where the ERP's database lies, as its two INI files say: the local INI beside the executable
// names the server INI (section "IniServidor", key "nomearquivo"); the server INI names the
// server, the folder and the file (section "Database", keys "Servidor", "path", "name").
struct ConfiguracaoBanco {
  std::string locainiServidor;  // path of the server INI as read; kept even when no file is there
  std::string sServidor;        // as read, not trimmed; blank for a local database
  std::string sPath;            // folder with its own trailing separator
  std::string sBanco;           // file name
};

// The local INI of the ERP beside the executable: APastaExecutavel (no trailing separator) +
// separator + "tolvaneempresa4.ini" when the ERP's version-4 executable "tolvaneempresa4.exe"
// lies in that folder, else "tolvaneempresa.ini". The test is on the executable only: there is
// no fall-back to the other INI name.
std::string CaminhoIniLocal(const std::string& APastaExecutavel);

// "nomearquivo" of section "IniServidor" in the local INI: the server INI's path, used as it is.
std::string LerCaminhoIniServidor(const std::string& ACaminhoIniLocal);

// True when a file is at the path: an empty path, a folder, a device or nothing at all is no
// server INI.
bool ExisteIniServidor(const std::string& ACaminho);

// Reads "Servidor", "path" and "name" of section "Database" of the file at
// AConfiguracao.locainiServidor into the other three fields.
void LerIniServidor(ConfiguracaoBanco& AConfiguracao);

// Both INI files read from the executable's folder: locainiServidor always, the other fields
// when the server INI exists. Returns whether it exists.
bool LerConfiguracao(const std::string& APastaExecutavel, ConfiguracaoBanco& AConfiguracao);

// The Firebird connection string: sServidor (untrimmed) + ":" + sPath + sBanco when sServidor is
// not blank, else sPath + sBanco. Nothing is put between folder and file name.
std::string MontarStringConexao(const ConfiguracaoBanco& AConfiguracao);

}  // namespace tolvane
