#pragma once

#include <optional>
#include <string>

#include "core/data_hora.h"

namespace tolvane {

// The file's last-write time as the two-second DOS file date sees it, in local time. No value
// when the time cannot be read (missing file, a folder) or lies outside the years 1980..2107.
std::optional<DataHora> DataModificacaoArquivo(const std::string& ACaminho);

// Full path of the running executable, links resolved.
std::string CaminhoExecutavel();

}  // namespace tolvane
