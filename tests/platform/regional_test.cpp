// Regional settings: whatever the user's settings are, the date and time written with them read
// back to the same value (the update check compares two such texts).
#include "platform/regional.h"

#include <gtest/gtest.h>

namespace tolvane {
namespace {

TEST(LerConfiguracaoRegional, WhatIsWrittenReadsBack) {
  const ConfiguracaoRegional cfg = LerConfiguracaoRegional();
  EXPECT_FALSE(cfg.FormatoData.empty());
  for (const DataHora valor : {DataHora{2024, 3, 25, 14, 37, 12}, DataHora{2024, 3, 5, 0, 0, 0},
                               DataHora{1999, 12, 31, 9, 7, 4}}) {
    const std::string texto = FormatarDataHoraGeral(valor, cfg);
    DataHora esperado = valor;
    if (!cfg.ComSegundos) esperado.Segundo = 0;
    EXPECT_EQ(LerDataHoraGeral(texto, cfg), esperado) << texto;
  }
}

}  // namespace
}  // namespace tolvane
