// The desktop shortcut on Linux: a freedesktop launcher, executable.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "comum/arquivos_teste.h"
#include "platform/atalho.h"

namespace tolvane {
namespace {

TEST(GravarAtalhoPosix, ExecutableLauncherThatStartsTheProgram) {
  teste::PastaTemporaria pasta;
  const std::string atalho = pasta / "Novo tolvaneGestor.desktop";
  ASSERT_EQ(ExtensaoAtalho(), ".desktop");
  ASSERT_TRUE(GravarAtalho(atalho, "/opt/tolvane/tolvaneGestor", "tolvaneGestor"));
  EXPECT_EQ(teste::LerArquivo(atalho),
            "[Desktop Entry]\nType=Application\nVersion=1.0\nName=tolvaneGestor\n"
            "Comment=tolvaneGestor\nExec=\"/opt/tolvane/tolvaneGestor\"\nTerminal=false\n");
  struct stat st {};
  ASSERT_EQ(::stat(atalho.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0755u);
}

}  // namespace
}  // namespace tolvane
