// The whole-file replacement on Linux: permissions, a full disk, links.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "comum/arquivos_teste.h"
#include "comum/processo_filho.h"
#include "platform/substituicao_arquivo.h"

namespace tolvane {
namespace {

using teste::LimitarTamanhoArquivos;
using teste::NoProcessoFilho;
using teste::ObedecerPermissoes;
using teste::PastaTemporaria;
namespace fs = std::filesystem;

TEST(SubstituirArquivoPosix, ReadOnlyFolderIsACreateErrorAndKeepsTheOldFile) {
  PastaTemporaria raiz;
  const std::string pasta = raiz / "executavel";
  fs::create_directory(pasta);
  const std::string caminho = pasta + "/RetornoClassTrib.json";
  teste::EscreverArquivo(caminho, "resposta anterior\r\n");
  chmod(raiz.Caminho().c_str(), 0755);
  chmod(pasta.c_str(), 0555);

  EXPECT_EQ(NoProcessoFilho([&] {
              ObedecerPermissoes();
              SubstituirArquivo(caminho, "nova");
            }),
            "EFCreateError|Cannot create file \"" + caminho + "\". Permission denied");
  EXPECT_EQ(teste::LerArquivo(caminho), "resposta anterior\r\n");
  EXPECT_EQ(teste::EntradasDaPasta(pasta), std::vector<std::string>{"RetornoClassTrib.json"});
}

TEST(SubstituirArquivoPosix, ShortWriteIsAWriteErrorAndKeepsTheOldFile) {
  PastaTemporaria pasta;
  const std::string caminho = pasta / "RetornoClassTrib.json";
  teste::EscreverArquivo(caminho, "resposta anterior\r\n");
  // A file-size limit makes the write stop short, as a full disk would.
  EXPECT_EQ(NoProcessoFilho([&] {
              LimitarTamanhoArquivos(1000);
              SubstituirArquivo(caminho, std::string(5000, 'x'));
            }),
            "EWriteError|Stream write error");
  EXPECT_EQ(teste::LerArquivo(caminho), "resposta anterior\r\n");
  EXPECT_EQ(teste::EntradasDaPasta(pasta.Caminho()),
            std::vector<std::string>{"RetornoClassTrib.json"});
}

mode_t Modo(const std::string& ACaminho) {
  struct stat st {};
  if (::stat(ACaminho.c_str(), &st) != 0) ADD_FAILURE() << "missing: " << ACaminho;
  return st.st_mode & 07777;
}

TEST(SubstituirArquivoPosix, ExecutableOrTheModeOfAnyNewFile) {
  PastaTemporaria pasta;
  const mode_t anterior = ::umask(022);
  SubstituirArquivo(pasta / "comum", "x");
  SubstituirArquivo(pasta / "programa", "x", true);
  ::umask(anterior);
  EXPECT_EQ(Modo(pasta / "comum"), 0644u);
  EXPECT_EQ(Modo(pasta / "programa"), 0755u);
}

// A link at the target is replaced itself; what it points to is never written.
TEST(SubstituirArquivoPosix, LinkAtTheTargetIsReplacedNotFollowed) {
  PastaTemporaria pasta;
  teste::EscreverArquivo(pasta / "vitima", "intacta");
  fs::create_symlink(pasta / "vitima", pasta / "alvo");
  SubstituirArquivo(pasta / "alvo", "novo");
  EXPECT_FALSE(fs::is_symlink(pasta / "alvo"));
  EXPECT_EQ(teste::LerArquivo(pasta / "alvo"), "novo");
  EXPECT_EQ(teste::LerArquivo(pasta / "vitima"), "intacta");
}

}  // namespace
}  // namespace tolvane
