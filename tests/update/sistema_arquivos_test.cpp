#include "update/sistema_arquivos.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "comum/arquivos_teste.h"
#include "comum/processo_filho.h"

namespace tolvane {
namespace {

using teste::EntradasDaPasta;
using teste::EscreverArquivo;
using teste::LerArquivo;
namespace fs = std::filesystem;

// Runs the copy in a child process that cannot write files larger than ALimiteBytes (0: no
// limit): a write past it fails as on a full disk. The copy reports no error of its own.
void CopiarNoFilho(const std::string& AOrigem, const std::string& ADestino, rlim_t ALimiteBytes) {
  EXPECT_EQ(teste::NoProcessoFilho([&] {
              if (ALimiteBytes) teste::LimitarTamanhoArquivos(ALimiteBytes);
              CopiarArquivoNovo(AOrigem, ADestino);
            }),
            "ok");
}

// The master-folder copy into the update folder, which other workstations read and whose files
// are never replaced: the target appears whole or not at all, and nothing else is left there.
TEST(CopiarArquivoNovo, TargetIsWholeOrAbsentAndNothingElseIsLeftInTheFolder) {
  teste::PastaTemporaria base;
  const std::string mestre = base / "mestre";
  const std::string atualizacao = base / "Update";
  fs::create_directories(mestre);
  fs::create_directories(atualizacao);
  std::string conteudo;
  for (int i = 0; i < 1024 * 1024; ++i) conteudo += static_cast<char>(i % 253);
  const std::string origem = mestre + "/tolvaneEmpresa.exe";
  const std::string alvo = atualizacao + "/tolvaneEmpresa.exe";
  EscreverArquivo(origem, conteudo, fs::perms(0755));
  teste::DefinirTempo(origem, 1620284889, 0);

  {
    SCOPED_TRACE("copy that fails half way");
    CopiarNoFilho(origem, alvo, 100000);
    EXPECT_FALSE(fs::exists(alvo)) << fs::file_size(alvo) << " bytes left at the target";
    EXPECT_EQ(EntradasDaPasta(atualizacao), std::vector<std::string>{});
  }
  {
    SCOPED_TRACE("whole copy");
    CopiarNoFilho(origem, alvo, 0);
    EXPECT_TRUE(LerArquivo(alvo) == conteudo);
    struct stat st {};
    ASSERT_EQ(::stat(alvo.c_str(), &st), 0);
    EXPECT_EQ(st.st_mtim.tv_sec, 1620284889);
    EXPECT_EQ(EntradasDaPasta(atualizacao), std::vector<std::string>{"tolvaneEmpresa.exe"});
  }
  {
    SCOPED_TRACE("target already there");
    EscreverArquivo(alvo, "outra versão");
    CopiarNoFilho(origem, alvo, 0);
    EXPECT_EQ(LerArquivo(alvo), "outra versão");
    EXPECT_EQ(EntradasDaPasta(atualizacao), std::vector<std::string>{"tolvaneEmpresa.exe"});
  }
}

}  // namespace
}  // namespace tolvane
