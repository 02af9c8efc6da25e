#include "update/data_hora_arquivo.h"

#include <gtest/gtest.h>

#include <functional>

#include "comum/arquivos_teste.h"
#include "comum/localidade_teste.h"
#include "comum/variavel_ambiente.h"
#include "core/erro.h"

namespace tolvane {
namespace {

using teste::DefinirDataLocal;
using teste::EscreverArquivo;
using teste::PastaTemporaria;

ConfiguracaoRegional Brasil() { return ConfiguracaoRegional{}; }  // dd/mm/yyyy hh:mm:ss

ConfiguracaoRegional SemSegundos() {
  ConfiguracaoRegional cfg;
  cfg.FormatoData = "%d.%m.%Y";
  cfg.ComSegundos = false;
  return cfg;
}

ConfiguracaoRegional DozeHoras() {
  ConfiguracaoRegional cfg;
  cfg.FormatoData = "%m/%d/%Y";
  cfg.Relogio12Horas = true;
  return cfg;
}

std::string KindOf(const std::function<void()>& AAcao) {
  try {
    AAcao();
  } catch (const Erro& e) {
    return e.Classe();
  }
  return "(nothing thrown)";
}

TEST(DataHoraArquivo, TwoSecondLocalTimeInTheGeneralForm) {
  struct Caso {
    const char* Rotulo;
    DataHora Data;
    const char* Texto;
  };
  const Caso casos[] = {
      {"EvenSeconds", {2024, 1, 15, 10, 20, 30}, "15/01/2024 10:20:30"},
      {"OddSecondsDropToTheEvenBelow", {2024, 1, 15, 10, 20, 31}, "15/01/2024 10:20:30"},
      {"OneSecondPastMidnightIsMidnight", {2024, 1, 15, 0, 0, 1}, "15/01/2024"},
      {"FirstDosTime", {1980, 1, 1, 0, 0, 0}, "01/01/1980"},
      {"LastDosTime", {2107, 12, 31, 23, 59, 59}, "31/12/2107 23:59:58"},
  };
  PastaTemporaria pasta;
  const std::string arquivo = pasta / "programa";
  EscreverArquivo(arquivo, "x");
  for (const auto& c : casos) {
    SCOPED_TRACE(c.Rotulo);
    DefinirDataLocal(arquivo, c.Data);
    EXPECT_EQ(DataHoraArquivo(arquivo, Brasil()), c.Texto);
  }
}

void EsperarErroConversao(const std::string& ACaminho) {
  SCOPED_TRACE(ACaminho);
  EXPECT_EQ(KindOf([&] { DataHoraArquivo(ACaminho, Brasil()); }), "EConvertError");
  EXPECT_EQ(KindOf([&] { DataHoraArquivo(ACaminho); }), "EConvertError");
}

TEST(DataHoraArquivo, UnreadableTimeIsAConversionError) {
  PastaTemporaria pasta;
  const std::string antes = pasta / "1979";
  EscreverArquivo(antes, "x");
  DefinirDataLocal(antes, {1979, 12, 31, 23, 59, 59});
  for (const std::string& caminho : {antes, pasta / "ausente", pasta.Caminho()})
    EsperarErroConversao(caminho);
}

// A case of its own: Wine's FileTimeToDosDateTime converts it, where Windows refuses.
TEST(DataHoraArquivo, TimeAfterTheDosRangeIsAConversionError) {
  PastaTemporaria pasta;
  const std::string depois = pasta / "2108";
  EscreverArquivo(depois, "x");
  DefinirDataLocal(depois, {2108, 1, 1, 0, 0, 0});
  EsperarErroConversao(depois);
}

TEST(DataHoraArquivo, ComparisonThroughTheRegionalText) {
  struct Caso {
    const char* Rotulo;
    ConfiguracaoRegional (*Cfg)();
    DataHora Executavel;
    DataHora Servidor;
    bool Difere;
  };
  const Caso casos[] = {
      {"Equal", Brasil, {2024, 1, 15, 10, 20, 30}, {2024, 1, 15, 10, 20, 30}, false},
      {"SameTwoSecondStep", Brasil, {2024, 1, 15, 10, 20, 30}, {2024, 1, 15, 10, 20, 31}, false},
      {"OddSecondsInNextStep", Brasil, {2024, 1, 15, 10, 20, 31}, {2024, 1, 15, 10, 20, 33}, true},
      {"OneSecondAcrossSteps", Brasil, {2024, 1, 15, 10, 20, 31}, {2024, 1, 15, 10, 20, 32}, true},
      {"NewerServerCopy", Brasil, {2024, 1, 15, 10, 20, 30}, {2024, 1, 16, 8, 0, 0}, true},
      {"OlderServerCopy", Brasil, {2024, 1, 15, 10, 20, 30}, {2023, 12, 1, 9, 0, 0}, true},
      {"WithinOneMinuteWithoutSeconds",
       SemSegundos,
       {2024, 1, 15, 10, 20, 10},
       {2024, 1, 15, 10, 20, 50},
       false},
      {"OneMinuteApartWithoutSeconds",
       SemSegundos,
       {2024, 1, 15, 10, 20, 50},
       {2024, 1, 15, 10, 21, 10},
       true},
      {"MorningAndAfternoonOnATwelveHourClock",
       DozeHoras,
       {2024, 1, 15, 1, 0, 0},
       {2024, 1, 15, 13, 0, 0},
       true},
      {"MidnightAgainstTime", Brasil, {2024, 1, 15, 0, 0, 0}, {2024, 1, 15, 0, 0, 2}, true},
  };
  PastaTemporaria pasta;
  const std::string executavel = pasta / "tolvaneGestor";
  const std::string servidor = pasta / "Update/tolvaneGestor";
  EscreverArquivo(executavel, "1");
  EscreverArquivo(servidor, "2");
  for (const auto& c : casos) {
    SCOPED_TRACE(c.Rotulo);
    DefinirDataLocal(executavel, c.Executavel);
    DefinirDataLocal(servidor, c.Servidor);
    const ConfiguracaoRegional cfg = c.Cfg();
    EXPECT_EQ(
        DatasHorasDiferem(DataHoraArquivo(executavel, cfg), DataHoraArquivo(servidor, cfg), cfg),
        c.Difere);
  }
}

TEST(DataHoraArquivo, TextThatDoesNotReadBackIsAConversionError) {
  EXPECT_EQ(KindOf([] { DatasHorasDiferem("15/01/2024", "ontem", Brasil()); }), "EConvertError");
}

// The settings are read at each call, from the environment's LC_TIME.
TEST(DataHoraArquivo, ReadsTheRegionalSettingsAtEachCall) {
  struct Caso {
    const char* Locale;
    const char* Texto;
  };
  const Caso casos[] = {
      {"pt_BR.UTF-8", "15/01/2024 14:20:30"},
      {"en_US.UTF-8", "01/15/2024 02:20:30 PM"},
      {"de_DE.UTF-8", "15.01.2024 14:20:30"},
  };
  PastaTemporaria pasta;
  const std::string arquivo = pasta / "programa";
  EscreverArquivo(arquivo, "x");
  DefinirDataLocal(arquivo, {2024, 1, 15, 14, 20, 31});
  for (const auto& c : casos) {
    ASSERT_TRUE(teste::LocaleInstalado(c.Locale));
    teste::VariavelAmbiente lcAll("LC_ALL", c.Locale);
    EXPECT_EQ(DataHoraArquivo(arquivo), c.Texto) << c.Locale;
  }
}

}  // namespace
}  // namespace tolvane
