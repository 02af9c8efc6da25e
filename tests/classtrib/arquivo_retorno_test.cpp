#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <functional>

#include "classtrib/arquivo_retorno.h"
#include "comum/arquivos_teste.h"
#include "comum/variavel_ambiente.h"
#include "core/erro.h"

namespace tolvane {
namespace {

namespace fs = std::filesystem;
using teste::PastaTemporaria;
using teste::VariavelAmbiente;

struct CasoArquivo {
  const char* Rotulo;
  std::string Resposta;
  std::string Arquivo;
};

const CasoArquivo kCasosArquivo[] = {
    {"QuebrasLF", "{\n  \"a\": 1\n}\n", "{\r\n  \"a\": 1\r\n}\r\n"},
    {"QuebrasCR", "a\rb\r", "a\r\nb\r\n"},
    {"QuebrasCRLF", "a\r\nb\r\n", "a\r\nb\r\n"},
    {"QuebrasMisturadas", "a\r\n\nb\rc\n\rd", "a\r\n\r\nb\r\nc\r\n\r\nd\r\n"},
    {"SemQuebraFinal", "[1,2]", "[1,2]\r\n"},
    {"Vazia", "", ""},
    {"SoUmaQuebra", "\n", "\r\n"},
    {"LinhasVaziasNoFim", "a\n\n", "a\r\n\r\n"},
    {"NulTerminaOTexto", std::string("a\nb\0c\nd", 7), "a\r\nb\r\n"},
    {"NulNoInicio", std::string("\0abc", 4), ""},
    {"Acentos", "Tributação\n", "Tributação\r\n"},
};

class ArquivoRetornoTabela : public testing::TestWithParam<CasoArquivo> {
 protected:
  VariavelAmbiente FLocal{"LC_ALL", "C.UTF-8"};
};

TEST_P(ArquivoRetornoTabela, LinhasTerminadasEmCRLF) {
  PastaTemporaria pasta;
  const std::string caminho = pasta / "RetornoClassTrib.json";
  SalvarArquivoRetorno(GetParam().Resposta, caminho);
  EXPECT_EQ(teste::LerArquivo(caminho), GetParam().Arquivo);
  EXPECT_EQ(teste::EntradasDaPasta(pasta.Caminho()),
            std::vector<std::string>{"RetornoClassTrib.json"});
}

INSTANTIATE_TEST_SUITE_P(Tabela, ArquivoRetornoTabela, testing::ValuesIn(kCasosArquivo),
                         [](const auto& AInfo) { return std::string(AInfo.param.Rotulo); });

TEST(ArquivoRetorno, ArquivoExistente_SubstituidoNaoAcrescentado) {
  PastaTemporaria pasta;
  const std::string caminho = pasta / "RetornoClassTrib.json";
  teste::EscreverArquivo(caminho, std::string(4096, 'x'));
  SalvarArquivoRetorno("novo", caminho);
  EXPECT_EQ(teste::LerArquivo(caminho), "novo\r\n");
}

// Runs ASalvar in a child process prepared by APreparar, and returns "<kind>|<message>" of the
// error it raised, or "ok".
std::string NoProcessoFilho(const std::function<void()>& APreparar,
                            const std::function<void()>& ASalvar) {
  int canal[2];
  if (pipe(canal) != 0) return "pipe falhou";
  const pid_t filho = fork();
  if (filho == 0) {
    close(canal[0]);
    std::string resultado = "ok";
    try {
      APreparar();
      ASalvar();
    } catch (const Erro& e) {
      resultado = e.Classe() + "|" + e.Mensagem();
    } catch (const std::exception& e) {
      resultado = std::string("std::exception|") + e.what();
    }
    (void)!write(canal[1], resultado.data(), resultado.size());
    _exit(0);
  }
  close(canal[1]);
  std::string resultado;
  char bloco[512];
  for (ssize_t n; (n = read(canal[0], bloco, sizeof bloco)) > 0;)
    resultado.append(bloco, static_cast<std::size_t>(n));
  close(canal[0]);
  int estado = 0;
  waitpid(filho, &estado, 0);
  if (!WIFEXITED(estado)) return "o processo filho terminou de forma anormal";
  return resultado;
}

// As root, the child gives up its rights (to "nobody"), so that the folder's permissions hold.
void SemPrivilegios() {
  if (geteuid() != 0) return;
  if (setgid(65534) != 0 || setuid(65534) != 0) throw std::runtime_error("setuid falhou");
}

TEST(ArquivoRetorno, PastaSomenteLeitura_ErroDeCriacaoEArquivoAnteriorIntacto) {
  PastaTemporaria raiz;
  const std::string pasta = raiz / "executavel";
  fs::create_directory(pasta);
  const std::string caminho = pasta + "/RetornoClassTrib.json";
  teste::EscreverArquivo(caminho, "resposta anterior\r\n");
  chmod(raiz.Caminho().c_str(), 0755);
  chmod(pasta.c_str(), 0555);

  EXPECT_EQ(NoProcessoFilho(SemPrivilegios, [&] { SalvarArquivoRetorno("nova", caminho); }),
            "EFCreateError|Cannot create file \"" + caminho + "\". Permission denied");
  EXPECT_EQ(teste::LerArquivo(caminho), "resposta anterior\r\n");
  EXPECT_EQ(teste::EntradasDaPasta(pasta), std::vector<std::string>{"RetornoClassTrib.json"});
}

TEST(ArquivoRetorno, EscritaIncompleta_ErroDeEscritaEArquivoAnteriorIntacto) {
  PastaTemporaria pasta;
  const std::string caminho = pasta / "RetornoClassTrib.json";
  teste::EscreverArquivo(caminho, "resposta anterior\r\n");
  // A file-size limit makes the write stop short, as a full disk would.
  auto limitar = [] {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limite{1000, 1000};
    if (setrlimit(RLIMIT_FSIZE, &limite) != 0) throw std::runtime_error("setrlimit falhou");
  };
  EXPECT_EQ(
      NoProcessoFilho(limitar, [&] { SalvarArquivoRetorno(std::string(5000, 'x'), caminho); }),
      "EWriteError|Stream write error");
  EXPECT_EQ(teste::LerArquivo(caminho), "resposta anterior\r\n");
  EXPECT_EQ(teste::EntradasDaPasta(pasta.Caminho()),
            std::vector<std::string>{"RetornoClassTrib.json"});
}

TEST(ArquivoRetorno, DestinoEhPasta_ErroDeCriacaoSemTemporario) {
  PastaTemporaria pasta;
  const std::string caminho = pasta / "RetornoClassTrib.json";
  fs::create_directory(caminho);
  teste::EscreverArquivo(caminho + "/dentro", "x");
  try {
    SalvarArquivoRetorno("nova", caminho);
    FAIL() << "sem erro";
  } catch (const Erro& e) {
    EXPECT_EQ(e.Classe(), "EFCreateError");
    EXPECT_EQ(e.Mensagem(), "Cannot create file \"" + caminho + "\". Is a directory");
  }
  EXPECT_EQ(teste::EntradasDaPasta(pasta.Caminho()),
            std::vector<std::string>{"RetornoClassTrib.json"});
}

}  // namespace
}  // namespace tolvane
