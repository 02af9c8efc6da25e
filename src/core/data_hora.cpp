#include "core/data_hora.h"

namespace tolvane {

namespace {

bool EhBissexto(int AAno) { return (AAno % 4 == 0 && AAno % 100 != 0) || AAno % 400 == 0; }

int DiasDoMes(int AAno, int AMes) {
  static constexpr int kDias[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return AMes == 2 && EhBissexto(AAno) ? 29 : kDias[AMes - 1];
}

}  // namespace

bool EhDataHoraValida(const DataHora& v) {
  return v.Ano >= 1 && v.Ano <= 9999 && v.Mes >= 1 && v.Mes <= 12 && v.Dia >= 1 &&
         v.Dia <= DiasDoMes(v.Ano, v.Mes) && v.Hora >= 0 && v.Hora <= 23 && v.Minuto >= 0 &&
         v.Minuto <= 59 && v.Segundo >= 0 && v.Segundo <= 59;
}

std::optional<DataDos> ParaDataDos(const DataHora& v) {
  if (!EhDataHoraValida(v) || v.Ano < 1980 || v.Ano > 2107) return std::nullopt;
  const auto data = static_cast<DataDos>(((v.Ano - 1980) << 9) | (v.Mes << 5) | v.Dia);
  const auto hora = static_cast<DataDos>((v.Hora << 11) | (v.Minuto << 5) | (v.Segundo / 2));
  return (data << 16) | hora;
}

std::optional<DataHora> DeDataDos(DataDos AValor) {
  const DataDos data = AValor >> 16;
  const DataDos hora = AValor & 0xFFFF;
  DataHora v;
  v.Ano = static_cast<int>(1980 + (data >> 9));
  v.Mes = static_cast<int>((data >> 5) & 0x0F);
  v.Dia = static_cast<int>(data & 0x1F);
  v.Hora = static_cast<int>(hora >> 11);
  v.Minuto = static_cast<int>((hora >> 5) & 0x3F);
  v.Segundo = static_cast<int>((hora & 0x1F) * 2);
  if (!EhDataHoraValida(v)) return std::nullopt;
  return v;
}

std::optional<DataHora> ComoDataDos(const DataHora& AValor) {
  const auto dos = ParaDataDos(AValor);
  if (!dos) return std::nullopt;
  return DeDataDos(*dos);
}

}  // namespace tolvane
