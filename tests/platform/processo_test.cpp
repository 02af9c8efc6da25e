// Program start: the arguments reach the program with no shell in between, and a program that
// cannot start says why. On Windows the arguments travel as one command line that the program
// splits by the system's rules, so a blank or a quote there means what it means to the
// program; on Linux each argument arrives whole.
#include "platform/processo.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "comum/arquivos_teste.h"
#include "comum/espera_teste.h"
#include "comum/variavel_ambiente.h"
#include "core/caminho.h"
#include "platform/nomes.h"

namespace tolvane {
namespace {

using teste::PastaTemporaria;

const bool kWindows = kSeparador == '\\';

// What the echo program got, one "<argument>|" line each; or why it said nothing.
std::string ArgumentosRecebidos(const std::vector<std::string>& AArgumentos) {
  PastaTemporaria pasta;
  const std::string saida = pasta / "argumentos.txt";
  const teste::VariavelAmbiente destino("TOLVANE_ECO_SAIDA", saida);
  const std::string falha = IniciarPrograma(TOLVANE_ECO_ARGUMENTOS, AArgumentos);
  if (!falha.empty()) return "(not started: " + falha + ")";
  const auto recebidos = teste::LerQuandoPronto(saida);
  if (!recebidos) return "(the program wrote nothing within a minute)";
  EXPECT_EQ(teste::EntradasDaPasta(pasta.Caminho()), std::vector<std::string>{"argumentos.txt"});
  return *recebidos;
}

std::string Linhas(const std::vector<std::string>& AArgumentos) {
  std::string r;
  for (const auto& a : AArgumentos) r += a + "|\n";
  return r;
}

// The hand-over's tags and what a shell would take for code: nothing is expanded or changed.
TEST(IniciarPrograma, EachArgumentArrivesAsItIs) {
  const std::vector<std::string> argumentos = {"@F1",
                                               "@M/srv/Update§Pasta",
                                               "@EC:\\Sistema§Novo",
                                               "@Aprograma.exe",
                                               "'apóstrofos'",
                                               "$HOME",
                                               "`id`",
                                               "%PATH%",
                                               "a\\b\\",
                                               "*.exe",
                                               ";echo&PWNED|x>y"};
  EXPECT_EQ(ArgumentosRecebidos(argumentos), Linhas(argumentos));
}

// The parameters go as they are, joined by single blanks, nothing quoted and nothing added: a
// blank splits and a quote groups, in the program's reading of its line.
TEST(IniciarPrograma, BlanksAndQuotesAsTheSystemPassesThem) {
  struct Caso {
    const char* Rotulo;
    std::vector<std::string> Enviados;
    std::vector<std::string> NoWindows;  // what arrives there; elsewhere each arrives whole
  };
  const Caso casos[] = {
      {"blank", {"@F1", "@Ameu programa.exe"}, {"@F1", "@Ameu", "programa.exe"}},
      {"quotes", {"\"a b\"", "x"}, {"a b", "x"}},
      {"quotes inside", {"\"aspas\" e 'apóstrofos'"}, {"aspas", "e", "'apóstrofos'"}},
      {"empty", {"@F1", "", "@A"}, {"@F1", "@A"}},
  };
  for (const auto& c : casos)
    EXPECT_EQ(ArgumentosRecebidos(c.Enviados), Linhas(kWindows ? c.NoWindows : c.Enviados))
        << c.Rotulo;
}

TEST(IniciarPrograma, ProgramThatCannotStartSaysWhy) {
  PastaTemporaria pasta;
  teste::EscreverArquivo(pasta / "nao_executavel", "texto");
  for (const std::string& programa :
       {pasta / "faltando", pasta.Caminho(), pasta / "nao_executavel"})
    EXPECT_NE(IniciarPrograma(programa, {}), "") << programa;
}

// This process's environment: a value set is read back as it was set, accents included, and the
// programs it starts inherit it (the echo program finds its output file, in a folder with an
// accent, through it); a variable that is not set has no value, which differs from empty.
TEST(VariavelAmbiente, SetReadBackAndInheritedByStartedPrograms) {
  // Both put back as they were at the end.
  const teste::VariavelAmbiente restaurar("TOLVANE_ECO_SAIDA", std::nullopt);
  const teste::VariavelAmbiente restaurarVazia("TOLVANE_TESTE_VAZIA", std::nullopt);
  EXPECT_EQ(LerVariavelAmbiente("TOLVANE_ECO_SAIDA"), std::nullopt);
  DefinirVariavelAmbiente("TOLVANE_TESTE_VAZIA", "");
  EXPECT_EQ(LerVariavelAmbiente("TOLVANE_TESTE_VAZIA"), std::optional<std::string>(""));

  PastaTemporaria base;
  const std::string pasta = base / "Configuração";
  std::filesystem::create_directory(CaminhoDe(pasta));
  const std::string saida = pasta + kSeparador + "saída.txt";
  DefinirVariavelAmbiente("TOLVANE_ECO_SAIDA", saida);
  EXPECT_EQ(LerVariavelAmbiente("TOLVANE_ECO_SAIDA"), saida);
  ASSERT_EQ(IniciarPrograma(TOLVANE_ECO_ARGUMENTOS, {"herdada"}), "");
  ASSERT_TRUE(teste::EsperarArquivo(saida)) << "the started program did not find " << saida;
  EXPECT_EQ(teste::LerArquivo(saida), "herdada|\n");
}

}  // namespace
}  // namespace tolvane
