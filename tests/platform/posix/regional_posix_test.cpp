// Regional settings on Linux: the real locales, read from the environment as the program does.
#include <gtest/gtest.h>

#include <optional>

#include "comum/localidade_teste.h"
#include "comum/variavel_ambiente.h"
#include "platform/regional.h"

namespace tolvane {
namespace {

const DataHora kTarde{2024, 3, 25, 14, 37, 12};
const DataHora kManha{2024, 3, 5, 9, 7, 4};
const DataHora kMeiaNoite{2024, 3, 25, 0, 0, 0};

// The settings of the real locales, as the program reads them from the environment.
class RegionalDoSistema : public ::testing::Test {
 protected:
  void Usar(const char* ALocale) {
    ASSERT_TRUE(teste::LocaleInstalado(ALocale));
    FLocale.emplace("LC_ALL", ALocale);
  }

 private:
  std::optional<teste::VariavelAmbiente> FLocale;
};

TEST_F(RegionalDoSistema, InstalledLocalesWriteAndReadBack) {
  struct Caso {
    const char* Locale;
    DataHora Valor;
    const char* Geral;
    const char* Minutos;
  };
  const Caso casos[] = {
      {"pt_BR.UTF-8", kTarde, "25/03/2024 14:37:12", "14:37"},
      {"pt_BR.UTF-8", kMeiaNoite, "25/03/2024", "00:00"},
      {"en_US.UTF-8", kTarde, "03/25/2024 02:37:12 PM", "02:37 PM"},
      {"de_DE.UTF-8", kManha, "05.03.2024 09:07:04", "09:07"},
      {"zh_HK.UTF-8", kTarde, "2024年03月25日 星期一 下午 02:37:12", "下午 02:37"},
  };
  for (const auto& c : casos) {
    Usar(c.Locale);
    if (HasFatalFailure()) return;
    const auto cfg = LerConfiguracaoRegional();
    EXPECT_EQ(FormatarDataHoraGeral(c.Valor, cfg), c.Geral) << c.Locale;
    EXPECT_EQ(FormatarHoraMinutos(c.Valor, cfg), c.Minutos) << c.Locale;
    EXPECT_EQ(LerDataHoraGeral(FormatarDataHoraGeral(c.Valor, cfg), cfg), c.Valor) << c.Locale;
  }
}

}  // namespace
}  // namespace tolvane
