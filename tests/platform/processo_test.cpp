// Program start: each argument reaches the program as it is, no shell in between; a program
// that cannot start says why.
#include "platform/processo.h"

#include <gtest/gtest.h>

#include "comum/arquivos_teste.h"
#include "comum/espera_teste.h"

namespace tolvane {
namespace {

using teste::PastaTemporaria;

TEST(IniciarPrograma, EachArgumentArrivesAsItIs) {
  const std::vector<std::string> argumentos = {"@F1",
                                               "@M/srv/Update§Pasta",
                                               "com blanks",
                                               "\"aspas\" e 'apóstrofos'",
                                               "$HOME `id` %PATH%",
                                               "a\\b\\",
                                               "*.exe",
                                               "; echo PWNED",
                                               ""};
  PastaTemporaria pasta;
  const std::string saida = pasta / "argumentos.txt";
  std::vector<std::string> todos = {saida};
  todos.insert(todos.end(), argumentos.begin(), argumentos.end());
  ASSERT_EQ(IniciarPrograma(TOLVANE_ECO_ARGUMENTOS, todos), "");
  ASSERT_TRUE(teste::EsperarArquivo(saida)) << "the program wrote nothing within a minute";
  std::string esperado;
  for (const auto& a : argumentos) esperado += a + "|\n";
  EXPECT_EQ(teste::LerArquivo(saida), esperado);
  EXPECT_EQ(teste::EntradasDaPasta(pasta.Caminho()), std::vector<std::string>{"argumentos.txt"});
}

TEST(IniciarPrograma, ProgramThatCannotStartSaysWhy) {
  PastaTemporaria pasta;
  teste::EscreverArquivo(pasta / "nao_executavel", "texto");
  for (const std::string& programa :
       {pasta / "faltando", pasta.Caminho(), pasta / "nao_executavel"})
    EXPECT_NE(IniciarPrograma(programa, {}), "") << programa;
}

}  // namespace
}  // namespace tolvane
