#include "app/versao.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <ctime>
#include <fstream>

#include "comum/arquivos_teste.h"
#include "core/erro.h"

namespace tolvane {
namespace {

// Sets the file's modification time to the given local time.
void Tocar(const std::string& ACaminho, int AAno, int AMes, int ADia, int AHora, int AMinuto,
           int ASegundo) {
  std::tm t{};
  t.tm_year = AAno - 1900;
  t.tm_mon = AMes - 1;
  t.tm_mday = ADia;
  t.tm_hour = AHora;
  t.tm_min = AMinuto;
  t.tm_sec = ASegundo;
  t.tm_isdst = -1;
  const timespec tempos[2] = {{std::mktime(&t), 0}, {std::mktime(&t), 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, ACaminho.c_str(), tempos, 0), 0);
}

class Versao : public ::testing::Test {
 protected:
  void SetUp() override { std::ofstream(FExe) << "exe"; }
  void TearDown() override { unsetenv("LC_ALL"); }
  teste::PastaTemporaria FPasta;
  std::string FExe = FPasta / "tolvaneGestor";
};

TEST_F(Versao, TextByRegionalSettings) {
  struct Caso {
    const char* Locale;
    int Hora, Minuto, Segundo;
    const char* Esperado;
  };
  const Caso casos[] = {
      {"pt_BR.UTF-8", 14, 37, 12, "Versão: 25/03/2024 14:37"},
      {"pt_BR.UTF-8", 14, 37, 13, "Versão: 25/03/2024 14:37"},
      {"pt_BR.UTF-8", 0, 0, 0, "Versão: 25/03/2024 00:00"},  // no date cut short
      {"pt_BR.UTF-8", 0, 0, 1, "Versão: 25/03/2024 00:00"},  // the file date drops odd seconds
      {"en_US.UTF-8", 14, 37, 12, "Versão: 03/25/2024 02:37 PM"},  // designator kept
      {"zh_HK.UTF-8", 9, 5, 0, "Versão: 2024年03月25日 星期一 上午 09:05"},
  };
  for (const auto& c : casos) {
    setenv("LC_ALL", c.Locale, 1);
    Tocar(FExe, 2024, 3, 25, c.Hora, c.Minuto, c.Segundo);
    EXPECT_EQ(TextoVersao(FExe), c.Esperado) << c.Locale;
  }
}

TEST_F(Versao, UnreadableTimeIsTheDateEncodeError) {
  setenv("LC_ALL", "pt_BR.UTF-8", 1);
  Tocar(FExe, 2108, 1, 1, 12, 0, 0);
  const std::string casos[] = {FExe, FPasta / "nao-existe", FPasta.Caminho()};
  for (const auto& caminho : casos) {
    try {
      TextoVersao(caminho);
      ADD_FAILURE() << "no error for " << caminho;
    } catch (const Erro& e) {
      EXPECT_EQ(e.Classe(), "EConvertError");
      EXPECT_STREQ(e.what(), "Invalid argument to date encode");
    }
  }
}

}  // namespace
}  // namespace tolvane
