// The desktop shortcut: written whole under its name, replacing an older one; a place that
// cannot take it gives false.
#include "platform/atalho.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "comum/arquivos_teste.h"
#include "core/caminho.h"
#include "platform/apartamento_com.h"
#include "platform/arquivos.h"

namespace tolvane {
namespace {

using teste::PastaTemporaria;

// The shell link is a COM object: the suite holds an apartment, as the program does. (The
// fixture takes the function's name, hence the qualified calls.)
class GravarAtalho : public ::testing::Test {
  ApartamentoCom FCom;
};

TEST_F(GravarAtalho, WrittenAndReplacedUnderItsName) {
  PastaTemporaria pasta;
  const std::string nome = "Novo tolvane Gestor" + std::string(ExtensaoAtalho());
  const std::string atalho = pasta / nome;
  teste::EscreverArquivo(atalho, "atalho antigo");
  ASSERT_TRUE(tolvane::GravarAtalho(atalho, CaminhoExecutavel(), "tolvane Gestor"));
  EXPECT_NE(teste::LerArquivo(atalho), "atalho antigo");
  EXPECT_EQ(teste::EntradasDaPasta(pasta.Caminho()), std::vector<std::string>{nome});
}

TEST_F(GravarAtalho, PlaceThatCannotTakeItGivesFalse) {
  PastaTemporaria pasta;
  const std::string extensao(ExtensaoAtalho());
  std::filesystem::create_directories(CaminhoDe(pasta / ("pasta" + extensao)));
  teste::EscreverArquivo(pasta / ("pasta" + extensao) + "/dentro", "x");
  EXPECT_FALSE(tolvane::GravarAtalho(pasta / ("pasta" + extensao), CaminhoExecutavel(), "x"));
  EXPECT_FALSE(tolvane::GravarAtalho(pasta / ("faltando/a" + extensao), CaminhoExecutavel(), "x"));
  EXPECT_EQ(teste::EntradasDaPasta(pasta.Caminho()), std::vector<std::string>{"pasta" + extensao});
}

}  // namespace
}  // namespace tolvane
