#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/data_hora.h"

namespace tolvane {

// The user's regional settings for dates and times, in the shape the Windows settings have:
// a short date pattern and a long time made of hour, separator, minutes, separator, seconds and
// a morning/afternoon designator before or after the time on a 12-hour clock.
struct ConfiguracaoRegional {
  // Short date as a strftime pattern (%d %e %m %Y %y %b %B %a %A, flag "-" for no padding).
  std::string FormatoData = "%d/%m/%Y";
  bool Relogio12Horas = false;
  bool HoraComZero = true;  // two-digit hour
  std::string SeparadorHora = ":";
  bool ComSegundos = true;
  bool DesignadorAntes = false;
  std::string Am = "AM";
  std::string Pm = "PM";
  std::array<std::string, 12> NomesMeses{};
  std::array<std::string, 12> NomesMesesAbreviados{};
  std::array<std::string, 7> NomesDias{};  // Sunday first
  std::array<std::string, 7> NomesDiasAbreviados{};
};

// The model above from the C library's LC_TIME patterns (D_FMT, T_FMT, T_FMT_AMPM) and the
// designators (AM_STR, PM_STR). Names of months and days are left to the caller.
ConfiguracaoRegional ConfiguracaoDePadroes(std::string_view AFormatoData,
                                           std::string_view AFormatoHora,
                                           std::string_view AFormatoHoraAmPm, std::string_view AAm,
                                           std::string_view APm);

std::string FormatarData(const DataHora& AValor, const ConfiguracaoRegional& ACfg);

// The long time: with seconds when the settings have them.
std::string FormatarHoraLonga(const DataHora& AValor, const ConfiguracaoRegional& ACfg);

// The long time to the minute: the seconds and their separator left out, the designator kept.
std::string FormatarHoraMinutos(const DataHora& AValor, const ConfiguracaoRegional& ACfg);

// The general date-and-time form: the short date, then, unless the time of day is exactly
// 00:00:00, a blank and the long time.
std::string FormatarDataHoraGeral(const DataHora& AValor, const ConfiguracaoRegional& ACfg);

// Reads a text of the general form back into a value with the same settings. Throws Erro of kind
// "EConvertError" ("'<text>' is not a valid date and time") when it does not fit.
DataHora LerDataHoraGeral(std::string_view ATexto, const ConfiguracaoRegional& ACfg);

}  // namespace tolvane
