#include "app/versao.h"

#include <gtest/gtest.h>

#include "comum/arquivos_teste.h"
#include "comum/variavel_ambiente.h"
#include "core/erro.h"

namespace tolvane {
namespace {

class Versao : public ::testing::Test {
 protected:
  void SetUp() override { teste::EscreverArquivo(FExe, "exe"); }
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
    const teste::VariavelAmbiente local("LC_ALL", c.Locale);
    teste::DefinirDataLocal(FExe, {2024, 3, 25, c.Hora, c.Minuto, c.Segundo});
    EXPECT_EQ(TextoVersao(FExe), c.Esperado) << c.Locale;
  }
}

TEST_F(Versao, UnreadableTimeIsTheDateEncodeError) {
  const teste::VariavelAmbiente local("LC_ALL", "pt_BR.UTF-8");
  teste::DefinirDataLocal(FExe, {2108, 1, 1, 12, 0, 0});
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
