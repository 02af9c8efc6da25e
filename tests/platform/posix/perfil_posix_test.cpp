// The INI reader on Linux: what depends on the locale's character set and on POSIX file types.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "comum/arquivos_teste.h"
#include "comum/texto_teste.h"
#include "comum/variavel_ambiente.h"
#include "platform/perfil.h"

namespace tolvane {
namespace {

using teste::EscreverArquivo;
using teste::PastaTemporaria;

// Without a byte-order mark the file is in the ANSI character set: UTF-8 in a UTF-8 locale.
TEST(LerPerfilPosix, FileWithoutBomInTheUtf8CharacterSet) {
  const teste::VariavelAmbiente local("LC_ALL", "C.UTF-8");
  PastaTemporaria pasta;
  EscreverArquivo(pasta / "c.ini", "[Database]\nname=Ação.fdb\n");
  EXPECT_EQ(LerPerfil(pasta / "c.ini", "database", "NAME"), "Ação.fdb");
  EscreverArquivo(pasta / "c.ini", "[Database]\nname=A\xE7\xE3o\n");
  EXPECT_EQ(LerPerfil(pasta / "c.ini", "Database", "name"), "A\xEF\xBF\xBD\xEF\xBF\xBDo");
  // The cut at 2047 counts characters, not bytes.
  EscreverArquivo(pasta / "c.ini", "[Database]\nname=" + teste::Repetir("ç", 3000) + "\n");
  EXPECT_EQ(LerPerfil(pasta / "c.ini", "Database", "name"), teste::Repetir("ç", 2047));
}

TEST(LerPerfilPosix, DevicesAndFifosReadEmptyWithoutBlocking) {
  PastaTemporaria pasta;
  ASSERT_EQ(mkfifo((pasta / "fifo").c_str(), 0600), 0);
  for (const std::string& c : {std::string("/dev/zero"), std::string("/dev/null"), pasta / "fifo"})
    EXPECT_EQ(LerPerfil(c, "Database", "name"), "") << c;
}

}  // namespace
}  // namespace tolvane
