// Program start on Linux: what the new program inherits.
#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "comum/arquivos_teste.h"
#include "comum/espera_teste.h"
#include "comum/variavel_ambiente.h"
#include "platform/processo.h"

namespace tolvane {
namespace {

using namespace teste;
namespace fs = std::filesystem;

// The database client opens its files without close-on-exec. A database file that the updater
// inherited would keep the engine's lock, and the program the updater starts again (inheriting it
// once more) could not open its own database.
TEST(IniciarProgramaPosix, FilesOpenInTheCallerDoNotReachTheProgram) {
  PastaTemporaria pasta;
  const std::string aberto = pasta / "banco.fdb";
  EscreverArquivo(aberto, "base de dados");
  const int fd = ::open(aberto.c_str(), O_RDWR);  // inherited by default, as the client's are
  ASSERT_GE(fd, 0);
  const std::string saida = pasta / "abertos";
  const std::string programa = pasta / "programa";
  // The glob's own descriptor is gone when readlink looks at it: no "&&" before the mv.
  EscreverArquivo(programa,
                  "#!/bin/sh\n"
                  "for f in /proc/$$/fd/*; do readlink \"$f\"; done >\"$1.tmp\"\n"
                  "mv \"$1.tmp\" \"$1\"\n",
                  fs::perms::owner_all);

  const std::string falha = IniciarPrograma(programa, {saida});
  ::close(fd);
  ASSERT_EQ(falha, "");
  ASSERT_TRUE(EsperarArquivo(saida)) << "the program wrote nothing within a minute";
  const std::string abertos = LerArquivo(saida);
  EXPECT_EQ(abertos.find(aberto), std::string::npos) << abertos;
}

// A program whose folder and arguments hold what a shell would read as code, quotes and a line
// break: it is started by its path as it is, and every argument arrives whole; nothing runs.
TEST(IniciarProgramaPosix, FolderAndArgumentsWithShellTextAndLineBreaks) {
  PastaTemporaria pasta;
  const std::string estranha =
      pasta / "Sistema $(touch INVADIDO); `touch INVADIDO` \"aspas\" 'ap'\nlinha nova";
  fs::create_directories(estranha);
  const std::string programa = estranha + "/eco";
  fs::copy_file(TOLVANE_ECO_ARGUMENTOS, programa);
  const std::string saida = pasta / "argumentos.txt";
  const VariavelAmbiente destino("TOLVANE_ECO_SAIDA", saida);
  const std::vector<std::string> argumentos = {"@M" + estranha, "duas\nlinhas", "fim;\r\n"};
  ASSERT_EQ(IniciarPrograma(programa, argumentos), "");
  ASSERT_TRUE(EsperarArquivo(saida)) << "the program wrote nothing within a minute";
  std::string esperado;
  for (const auto& a : argumentos) esperado += a + "|\n";
  EXPECT_EQ(LerArquivo(saida), esperado);
  EXPECT_FALSE(fs::exists(pasta / "INVADIDO"));
  EXPECT_FALSE(fs::exists(estranha + "/INVADIDO"));
  EXPECT_FALSE(fs::exists("INVADIDO"));
}

}  // namespace
}  // namespace tolvane
