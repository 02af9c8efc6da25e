#include "platform/substituicao_executavel.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <thread>

#include "comum/arquivos_teste.h"
#include "comum/processo_filho.h"
#include "core/erro.h"
#include "updater/estado_arquivo.h"

namespace tolvane {
namespace {

using teste::DefinirTempo;
using teste::EntradasDaPasta;
using teste::EscreverArquivo;
using teste::Estado;
using teste::LerArquivo;
namespace fs = std::filesystem;

// Everything a folder holds, to see that a failed replacement changed nothing in it.
struct Entrada {
  mode_t Modo;
  long long Segundos;
  long Nanossegundos;
  std::string Conteudo;
  bool operator==(const Entrada&) const = default;
};
std::map<std::string, Entrada> Retrato(const std::string& APasta) {
  std::map<std::string, Entrada> r;
  if (!fs::exists(APasta)) return r;
  for (const auto& nome : EntradasDaPasta(APasta)) {
    const std::string caminho = APasta + "/" + nome;
    const struct stat st = Estado(caminho);
    r[nome] = {st.st_mode, st.st_mtim.tv_sec, st.st_mtim.tv_nsec,
               S_ISREG(st.st_mode) ? LerArquivo(caminho) : std::string()};
  }
  return r;
}

// Runs the replacement in a child process that obeys file permissions (the tests run as root
// on the build machines; a workstation user is not) and, when ALimiteBytes is not 0, cannot
// write files larger than that (a write fails as on a full disk).
std::string SubstituirNoFilho(const std::string& AOrigem, const std::string& APasta,
                              rlim_t ALimiteBytes) {
  return teste::NoProcessoFilho([&] {
    teste::ObedecerPermissoes();
    if (ALimiteBytes) teste::LimitarTamanhoArquivos(ALimiteBytes);
    SubstituirExecutavel(AOrigem, APasta, "prog");
  });
}

class Substituicao : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(FServidor);
    fs::create_directory(FExecutavel);
    EscreverArquivo(FOrigem, "novo", fs::perms(0755));
    EscreverArquivo(FDestino, "velho", fs::perms(0755));
    DefinirTempo(FDestino, 1500000000, 111);
  }

  teste::PastaTemporaria FBase;
  const std::string FServidor = FBase / "Update";
  const std::string FExecutavel = FBase / "Sistema";
  const std::string FOrigem = FServidor + "/prog";
  const std::string FDestino = FExecutavel + "/prog";
};

TEST_F(Substituicao, FaultsLeaveTheOldExecutableWholeAndNoTemporaryFile) {
  struct Falha {
    const char* Rotulo;
    std::function<void()> Preparar;
    const char* Mensagem;
    rlim_t LimiteBytes = 0;
  };
  const auto& origem = FOrigem;
  const auto& servidor = FServidor;
  const auto& executavel = FExecutavel;
  const auto& destino = FDestino;
  const Falha falhas[] = {
      {"missing_source", [&] { fs::remove(origem); }, "/Update/prog\" não existe"},
      {"source_is_folder",
       [&] {
         fs::remove(origem);
         fs::create_directory(origem);
       },
       "é uma pasta, não um arquivo"},
      {"source_is_link_to_a_folder",
       [&] {
         fs::remove(origem);
         fs::create_directory(servidor + "/pasta");
         fs::create_symlink("pasta", origem);
       },
       "é uma pasta, não um arquivo"},
      {"source_is_fifo",
       [&] {
         fs::remove(origem);
         ASSERT_EQ(::mkfifo(origem.c_str(), 0644), 0);
       },
       "não é um arquivo comum"},
      {"source_unreadable", [&] { fs::permissions(origem, fs::perms::none); }, "não pôde ser lida"},
      {"executable_folder_read_only", [&] { fs::permissions(executavel, fs::perms(0555)); },
       "Não foi possível criar a nova cópia na pasta do executável"},
      {"executable_folder_missing", [&] { fs::remove_all(executavel); }, "/Sistema\" não existe"},
      {"target_busy_with_a_folder",
       [&] {
         fs::remove(destino);
         fs::create_directory(destino);
         EscreverArquivo(destino + "/dentro", "x");
       },
       "está ocupado"},
      {"write_fails_midway",
       [&] { EscreverArquivo(origem, std::string(256 * 1024, 'n'), fs::perms(0755)); },
       "Não foi possível gravar a nova cópia", 64 * 1024},
  };
  for (const auto& f : falhas) {
    SCOPED_TRACE(f.Rotulo);
    SetUp();
    f.Preparar();
    const auto antes = Retrato(FExecutavel);
    const std::string d = SubstituirNoFilho(FOrigem, FExecutavel, f.LimiteBytes);
    ASSERT_NE(d, "ok") << "the replacement went through";
    // Refused with the system's own error, not a failure of the child or of the library.
    EXPECT_FALSE(d.starts_with("std::exception|") || d.starts_with("the child process")) << d;
    EXPECT_NE(d.find(f.Mensagem), std::string::npos) << d;
    EXPECT_TRUE(Retrato(FExecutavel) == antes) << "the executable folder changed";
    std::error_code ec;
    fs::permissions(FExecutavel, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(FServidor);
    fs::remove_all(FExecutavel);
  }
}

// The mode: the owner always reads and runs the copy and writes it when the server copy says so;
// group and others read it as the server copy says, run it where they read it, never write it.
TEST_F(Substituicao, CopyKeepsContentTimeAndModeOfTheServerCopy) {
  struct Sucesso {
    const char* Rotulo;
    mode_t ModoOrigem;
    mode_t ModoAntigo;  // 0: no old copy
    mode_t ModoEsperado;
  };
  constexpr Sucesso casos[] = {
      {"mode_kept", 0750, 0755, 0750},
      {"execute_where_read_owner_always", 0640, 0755, 0750},
      {"execute_without_read_kept", 0711, 0755, 0711},
      {"read_only_old_copy_replaced", 0555, 0444, 0555},
      {"first_copy", 0755, 0, 0755},
      // What a CIFS mount shows: anyone may write the server copy; only the owner writes the
      // installed program.
      {"writable_by_all", 0777, 0755, 0755},
      {"writable_by_all_no_execute", 0666, 0755, 0755},
  };
  std::string conteudo;
  for (int i = 0; i < 200 * 1024; ++i) conteudo += static_cast<char>(i % 251);
  for (const auto& c : casos) {
    SCOPED_TRACE(c.Rotulo);
    EscreverArquivo(FOrigem, conteudo, fs::perms(c.ModoOrigem));
    DefinirTempo(FOrigem, 1620284889, 123456789);
    if (c.ModoAntigo)
      EscreverArquivo(FDestino, "velho", fs::perms(c.ModoAntigo));
    else
      fs::remove(FDestino);

    ASSERT_NO_THROW(SubstituirExecutavel(FOrigem, FExecutavel, "prog"));
    EXPECT_EQ(LerArquivo(FDestino), conteudo);
    const struct stat st = Estado(FDestino);
    EXPECT_EQ(st.st_mode & 07777, c.ModoEsperado) << "mode " << std::oct << (st.st_mode & 07777);
    EXPECT_EQ(st.st_mtim.tv_sec, 1620284889);
    EXPECT_EQ(st.st_mtim.tv_nsec, 123456789);
    EXPECT_EQ(EntradasDaPasta(FExecutavel), std::vector<std::string>{"prog"});
  }
}

// The program follows links when it compares the copies, so the updater takes what they point
// at: a release published as a link must not be handed over only to be refused.
TEST_F(Substituicao, SymbolicLinkSourceIsFollowedToItsFile) {
  EscreverArquivo(FServidor + "/prog-2.0", "versão 2.0", fs::perms(0750));
  DefinirTempo(FServidor + "/prog-2.0", 1620284889, 5);
  fs::remove(FOrigem);
  fs::create_symlink("prog-2.0", FOrigem);
  ASSERT_NO_THROW(SubstituirExecutavel(FOrigem, FExecutavel, "prog"));
  EXPECT_EQ(LerArquivo(FDestino), "versão 2.0");
  const struct stat st = Estado(FDestino);
  EXPECT_TRUE(S_ISREG(st.st_mode));
  EXPECT_EQ(st.st_mode & 07777, 0750u);
  EXPECT_EQ(st.st_mtim.tv_sec, 1620284889);
  EXPECT_EQ(EntradasDaPasta(FExecutavel), std::vector<std::string>{"prog"});
}

// A release being copied onto the file server while a workstation copies it from there: the
// writer rewrites the server copy from its start once the workstation has begun reading it. The
// workstation either refuses the copy, keeping its old executable, or (when the writer came too
// late to be seen) has the whole copy as it was when it was opened; never a mix of the two.
TEST_F(Substituicao, ServerCopyRewrittenDuringTheCopyIsRefusedNeverMixed) {
  constexpr std::size_t kTamanho = 32 << 20;
  constexpr std::size_t kBloco = 1 << 20;
  int recusas = 0;
  for (int tentativa = 0; tentativa < 10 && recusas == 0; ++tentativa) {
    SCOPED_TRACE("attempt " + std::to_string(tentativa));
    EscreverArquivo(FOrigem, std::string(kTamanho, 'a'), fs::perms(0755));
    EscreverArquivo(FDestino, "velho", fs::perms(0755));
    const int observador = ::inotify_init1(IN_CLOEXEC);
    ASSERT_GE(observador, 0);
    ASSERT_GE(::inotify_add_watch(observador, FOrigem.c_str(), IN_ACCESS), 0);
    std::thread escritor([&] {
      pollfd espera{observador, POLLIN, 0};
      if (::poll(&espera, 1, 10000) != 1) return;
      std::ofstream arquivo(FOrigem, std::ios::binary | std::ios::in | std::ios::out);
      const std::string bloco(kBloco, 'b');
      for (std::size_t feito = 0; feito < kTamanho; feito += kBloco) {
        arquivo.write(bloco.data(), static_cast<std::streamsize>(bloco.size()));
        arquivo.flush();
      }
    });
    std::string erro;
    try {
      SubstituirExecutavel(FOrigem, FExecutavel, "prog");
    } catch (const Erro& e) {
      erro = e.Mensagem();
    }
    escritor.join();
    ::close(observador);
    if (erro.empty()) {
      EXPECT_TRUE(LerArquivo(FDestino) == std::string(kTamanho, 'a')) << "a mixed copy";
    } else {
      ++recusas;
      EXPECT_NE(erro.find("mudou enquanto era copiada"), std::string::npos) << erro;
      EXPECT_EQ(LerArquivo(FDestino), "velho");
    }
    EXPECT_EQ(EntradasDaPasta(FExecutavel), std::vector<std::string>{"prog"});
  }
  EXPECT_GT(recusas, 0) << "the writer was never seen: the case showed nothing";
}

}  // namespace
}  // namespace tolvane
