#include <gtest/gtest.h>

#include <filesystem>

#include "classtrib/arquivo_retorno.h"
#include "comum/arquivos_teste.h"
#include "comum/espera_teste.h"
#include "comum/variavel_ambiente.h"
#include "core/caminho.h"
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

TEST_P(ArquivoRetornoTabela, LinesEndInCrLf) {
  PastaTemporaria pasta;
  const std::string caminho = pasta / "RetornoClassTrib.json";
  SalvarArquivoRetorno(GetParam().Resposta, caminho);
  EXPECT_EQ(teste::LerArquivo(caminho), GetParam().Arquivo);
  EXPECT_EQ(teste::EntradasDaPasta(pasta.Caminho()),
            std::vector<std::string>{"RetornoClassTrib.json"});
}

INSTANTIATE_TEST_SUITE_P(Tabela, ArquivoRetornoTabela, testing::ValuesIn(kCasosArquivo),
                         [](const auto& AInfo) { return std::string(AInfo.param.Rotulo); });

TEST(ArquivoRetorno, ExistingFileIsReplacedNotAppended) {
  PastaTemporaria pasta;
  const std::string caminho = pasta / "RetornoClassTrib.json";
  teste::EscreverArquivo(caminho, std::string(4096, 'x'));
  SalvarArquivoRetorno("novo", caminho);
  EXPECT_EQ(teste::LerArquivo(caminho), "novo\r\n");
}

TEST(ArquivoRetorno, FolderAtTheTargetIsTheCreateError) {
  PastaTemporaria pasta;
  const std::string caminho = pasta / "RetornoClassTrib.json";
  fs::create_directory(CaminhoDe(caminho));
  teste::EscreverArquivo(caminho + "/dentro", "x");
  const Erro e = teste::ErroLancado([&] { SalvarArquivoRetorno("nova", caminho); });
  EXPECT_EQ(e.Classe(), "EFCreateError");
  EXPECT_EQ(e.Mensagem(), "Cannot create file \"" + caminho + "\". Is a directory");
  EXPECT_EQ(teste::EntradasDaPasta(pasta.Caminho()),
            std::vector<std::string>{"RetornoClassTrib.json"});
}

}  // namespace
}  // namespace tolvane
