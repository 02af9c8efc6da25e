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

// Gives the file AOrigem the name ADestino (same folder or file system) only when nothing has
// that name yet, in one step: a file that appears there meanwhile is never replaced. False when
// the file was not moved (ADestino exists, or the file system cannot move without replacing).
bool MoverSemSubstituir(const std::string& AOrigem, const std::string& ADestino);

}  // namespace tolvane
