#include "platform/regional.h"

#include <langinfo.h>
#include <locale.h>

namespace tolvane {

namespace {

// A locale object for the environment's LC_TIME, made anew at each call so a changed
// environment is seen, and read with nl_langinfo_l so the process locale stays untouched.
class LocaleTempo {
 public:
  LocaleTempo() : FLocale(newlocale(LC_TIME_MASK, "", static_cast<locale_t>(nullptr))) {
    if (!FLocale) FLocale = newlocale(LC_TIME_MASK, "C", static_cast<locale_t>(nullptr));
  }
  ~LocaleTempo() {
    if (FLocale) freelocale(FLocale);
  }
  LocaleTempo(const LocaleTempo&) = delete;
  LocaleTempo& operator=(const LocaleTempo&) = delete;

  std::string Item(nl_item AItem) const { return FLocale ? nl_langinfo_l(AItem, FLocale) : ""; }

 private:
  locale_t FLocale;
};

}  // namespace

ConfiguracaoRegional LerConfiguracaoRegional() {
  const LocaleTempo locale;
  ConfiguracaoRegional cfg =
      ConfiguracaoDePadroes(locale.Item(D_FMT), locale.Item(T_FMT), locale.Item(T_FMT_AMPM),
                            locale.Item(AM_STR), locale.Item(PM_STR));
  for (int i = 0; i < 12; ++i) {
    cfg.NomesMeses[i] = locale.Item(MON_1 + i);
    cfg.NomesMesesAbreviados[i] = locale.Item(ABMON_1 + i);
  }
  for (int i = 0; i < 7; ++i) {
    cfg.NomesDias[i] = locale.Item(DAY_1 + i);
    cfg.NomesDiasAbreviados[i] = locale.Item(ABDAY_1 + i);
  }
  return cfg;
}

}  // namespace tolvane
