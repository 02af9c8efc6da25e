#pragma once

#include <string>
#include <string_view>

#include "core/regional.h"

namespace tolvane {

// A file's last-write time as the two-second DOS file date sees it, written in the general
// date-and-time form of the user's regional settings, read at each call. Throws Erro of kind
// "EConvertError" when the time cannot be read (missing file, a folder, a time outside the
// years 1980..2107).
std::string DataHoraArquivo(const std::string& ACaminho);

// The same with the settings given.
std::string DataHoraArquivo(const std::string& ACaminho, const ConfiguracaoRegional& ACfg);

// True when the two texts of DataHoraArquivo, read back with the same settings, name different
// times, later or earlier: the comparison has the resolution of the regional time format.
// Throws Erro of kind "EConvertError" when a text does not read back.
bool DatasHorasDiferem(std::string_view ATextoExecutavel, std::string_view ATextoServidor,
                       const ConfiguracaoRegional& ACfg);

}  // namespace tolvane
