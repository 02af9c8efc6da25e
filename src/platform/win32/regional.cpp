#include "platform/regional.h"

#include "platform/win32/utf16.h"

namespace tolvane {

namespace {

std::string Info(LCTYPE ATipo) {
  wchar_t buf[128] = {};
  const int n = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, ATipo, buf, 128);
  return n > 0 ? DeUtf16(std::wstring_view(buf, static_cast<std::size_t>(n - 1))) : std::string();
}

// The Windows short date picture ("dd/MM/yyyy") as the strftime pattern the core formats with.
std::string PadraoData(const std::string& AFormato) {
  std::string r;
  for (std::size_t i = 0; i < AFormato.size();) {
    const char c = AFormato[i];
    std::size_t n = 1;
    while (i + n < AFormato.size() && AFormato[i + n] == c) ++n;
    if (c == '\'') {  // quoted literal
      const std::size_t fim = AFormato.find('\'', i + 1);
      r += AFormato.substr(i + 1, (fim == std::string::npos ? AFormato.size() : fim) - i - 1);
      i = fim == std::string::npos ? AFormato.size() : fim + 1;
      continue;
    }
    if (c == 'd')
      r += n == 1 ? "%-d" : n == 2 ? "%d" : n == 3 ? "%a" : "%A";
    else if (c == 'M')
      r += n == 1 ? "%-m" : n == 2 ? "%m" : n == 3 ? "%b" : "%B";
    else if (c == 'y')
      r += n <= 2 ? "%y" : "%Y";
    else if (c == 'g') {
    }  // era: not shown
    else if (c == '%')
      r += std::string(n * 2, '%');
    else
      r += std::string(n, c);
    i += n;
  }
  return r;
}

}  // namespace

ConfiguracaoRegional LerConfiguracaoRegional() {
  ConfiguracaoRegional cfg;
  cfg.FormatoData = PadraoData(Info(LOCALE_SSHORTDATE));
  const std::string hora = Info(LOCALE_STIMEFORMAT);
  const auto posHora = hora.find_first_of("hH");
  const auto posMinuto = hora.find('m');
  if (posHora != std::string::npos) {
    cfg.Relogio12Horas = hora[posHora] == 'h';
    cfg.HoraComZero = posHora + 1 < hora.size() && hora[posHora + 1] == hora[posHora];
    const auto fimHora = hora.find_first_not_of(hora[posHora], posHora);
    if (posMinuto != std::string::npos && fimHora != std::string::npos && posMinuto > fimHora)
      cfg.SeparadorHora = hora.substr(fimHora, posMinuto - fimHora);
    const auto posDesignador = hora.find('t');
    cfg.DesignadorAntes = posDesignador != std::string::npos && posDesignador < posHora;
  }
  cfg.ComSegundos = hora.find('s') != std::string::npos;
  cfg.Am = Info(LOCALE_S1159);
  cfg.Pm = Info(LOCALE_S2359);
  for (int i = 0; i < 12; ++i) {
    cfg.NomesMeses[i] = Info(LOCALE_SMONTHNAME1 + i);
    cfg.NomesMesesAbreviados[i] = Info(LOCALE_SABBREVMONTHNAME1 + i);
  }
  // Windows counts the days from Monday; the core from Sunday.
  for (int i = 0; i < 7; ++i) {
    cfg.NomesDias[(i + 1) % 7] = Info(LOCALE_SDAYNAME1 + i);
    cfg.NomesDiasAbreviados[(i + 1) % 7] = Info(LOCALE_SABBREVDAYNAME1 + i);
  }
  return cfg;
}

}  // namespace tolvane
