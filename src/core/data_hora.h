#pragma once

#include <compare>
#include <cstdint>
#include <optional>

namespace tolvane {

// A calendar date and time of day, local time, to the second.
struct DataHora {
  int Ano = 0;
  int Mes = 0;  // 1..12
  int Dia = 0;  // 1..31
  int Hora = 0;
  int Minuto = 0;
  int Segundo = 0;

  auto operator<=>(const DataHora&) const = default;
};

// True when the fields name a real date (leap years included) and a real time of day.
bool EhDataHoraValida(const DataHora& AValor);

// The two-second DOS (FAT) file date: date in the high 16 bits, time in the low 16 bits.
using DataDos = std::uint32_t;

// Packs a local time into the DOS form, odd seconds dropping to the even second below.
// No value for times outside 1980-01-01 00:00:00 .. 2107-12-31 23:59:58 or invalid fields.
std::optional<DataDos> ParaDataDos(const DataHora& AValor);

// Unpacks a DOS file date; no value when its fields name no real date and time.
std::optional<DataHora> DeDataDos(DataDos AValor);

// The time as the two-second file date sees it: ParaDataDos and back again.
std::optional<DataHora> ComoDataDos(const DataHora& AValor);

}  // namespace tolvane
