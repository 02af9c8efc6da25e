#include "core/data_hora.h"

#include <gtest/gtest.h>

namespace tolvane {
namespace {

TEST(DataDos, RangeEndsAndTwoSecondSteps) {
  struct Caso {
    const char* Nome;
    DataHora Entrada;
    std::optional<DataHora> Saida;
  };
  const Caso casos[] = {
      {"first instant", {1980, 1, 1, 0, 0, 0}, DataHora{1980, 1, 1, 0, 0, 0}},
      {"before the range", {1979, 12, 31, 23, 59, 59}, std::nullopt},
      {"last instant", {2107, 12, 31, 23, 59, 59}, DataHora{2107, 12, 31, 23, 59, 58}},
      {"after the range", {2108, 1, 1, 0, 0, 0}, std::nullopt},
      {"odd second rounds down", {2024, 3, 25, 14, 37, 13}, DataHora{2024, 3, 25, 14, 37, 12}},
      {"even second kept", {2024, 3, 25, 14, 37, 12}, DataHora{2024, 3, 25, 14, 37, 12}},
      {"leap day", {2024, 2, 29, 8, 0, 1}, DataHora{2024, 2, 29, 8, 0, 0}},
      {"no such day", {2023, 2, 29, 8, 0, 0}, std::nullopt},
  };
  for (const auto& c : casos) EXPECT_EQ(ComoDataDos(c.Entrada), c.Saida) << c.Nome;
}

TEST(DataDos, PacksLikeTheFatFileDate) {
  // 25 March 2024 14:37:12: date (44 << 9 | 3 << 5 | 25), time (14 << 11 | 37 << 5 | 6).
  const auto dos = ParaDataDos({2024, 3, 25, 14, 37, 12});
  ASSERT_TRUE(dos);
  EXPECT_EQ(*dos, (0x5879u << 16) | 0x74A6u);
  EXPECT_FALSE(DeDataDos(0));  // month 0 names no date
}

}  // namespace
}  // namespace tolvane
