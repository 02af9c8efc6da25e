// The user's regional settings on Windows: dates and times written with them read as Windows
// itself writes them with the same settings (GetDateFormatEx, GetTimeFormatEx), never as a
// picture written into the test, since Wine's locale data differ from Windows' for some locales.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/regional.h"
#include "platform/win32/utf16.h"

namespace tolvane {
namespace {

SYSTEMTIME Sistema(const DataHora& AValor) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(AValor.Ano);
  st.wMonth = static_cast<WORD>(AValor.Mes);
  st.wDay = static_cast<WORD>(AValor.Dia);
  st.wHour = static_cast<WORD>(AValor.Hora);
  st.wMinute = static_cast<WORD>(AValor.Minuto);
  st.wSecond = static_cast<WORD>(AValor.Segundo);
  return st;
}

std::string DataDoWindows(const DataHora& AValor) {
  const SYSTEMTIME st = Sistema(AValor);
  wchar_t buf[128]{};
  GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buf, 128, nullptr);
  return DeUtf16(buf);
}

std::string HoraDoWindows(const DataHora& AValor) {
  const SYSTEMTIME st = Sistema(AValor);
  wchar_t buf[128]{};
  GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &st, nullptr, buf, 128);
  return DeUtf16(buf);
}

TEST(LerConfiguracaoRegionalWindows, DatesAndTimesAsWindowsWritesThem) {
  const ConfiguracaoRegional cfg = LerConfiguracaoRegional();
  for (const DataHora valor : {DataHora{2024, 3, 25, 14, 37, 12}, DataHora{2024, 3, 5, 0, 0, 0},
                               DataHora{1999, 12, 31, 9, 7, 4}, DataHora{2030, 1, 1, 12, 0, 59}}) {
    EXPECT_EQ(FormatarData(valor, cfg), DataDoWindows(valor));
    EXPECT_EQ(FormatarHoraLonga(valor, cfg), HoraDoWindows(valor));
  }
}

}  // namespace
}  // namespace tolvane
