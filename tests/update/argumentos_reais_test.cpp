#include <gtest/gtest.h>

#include <filesystem>

#include "comum/aplicacao_gravadora.h"
#include "comum/arquivos_teste.h"
#include "comum/espera_teste.h"
#include "comum/localidade_teste.h"
#include "comum/variavel_ambiente.h"
#include "core/texto.h"
#include "update/modulo_atualizacao.h"

namespace tolvane {
namespace {

using namespace teste;
namespace fs = std::filesystem;

// NUL-separated fields of a text.
std::vector<std::string> Campos(const std::string& ATexto) {
  std::vector<std::string> r;
  std::size_t inicio = 0;
  for (std::size_t fim; (fim = ATexto.find('\0', inicio)) != std::string::npos; inicio = fim + 1)
    r.push_back(ATexto.substr(inicio, fim - inicio));
  return r;
}

// The real hand-over: a stand-in updater, a script in an update folder whose name no shell may
// ever read, writes its name, the arguments it got and its working folder.
TEST(ArgumentosReais, FoldersReachTheUpdaterAsExactArguments) {
  ASSERT_TRUE(LocaleInstalado("pt_BR.UTF-8"));
  VariavelAmbiente locale("LC_ALL", "pt_BR.UTF-8");

  PastaTemporaria pasta;
  VariavelAmbiente home("HOME", pasta / "home");
  const std::string estranho =
      "Sistema Novo \"aspas\" 'simples' §x $(touch PWNED) `touch PWNED2` ; & | * ação\nlinha 2";
  const std::string servidor = pasta / ("servidor " + estranho);
  const std::string estacao = pasta / ("estação " + estranho);
  const std::string atualizacao = servidor + "/Update";
  const std::string atualizador = atualizacao + "/tolvaneAtualizador";
  const std::string saida = pasta / "argumentos";

  const std::string executavel = estacao + "/tolvaneGestor";
  EscreverArquivo(executavel, "programa", fs::perms::owner_all);
  DefinirDataLocal(executavel, {2024, 1, 15, 10, 20, 30});
  EscreverArquivo(atualizacao + "/tolvaneGestor", "nova versão");
  DefinirDataLocal(atualizacao + "/tolvaneGestor", {2024, 2, 1, 9, 0, 0});
  EscreverArquivo(atualizador,
                  "#!/bin/sh\n"
                  "{ printf '%s\\0' \"$0\"; for a in \"$@\"; do printf '%s\\0' \"$a\"; done;\n"
                  "  printf '%s\\0' \"$(pwd -P)\"; } > '" +
                      saida + ".tmp' && mv '" + saida + ".tmp' '" + saida + "'\n",
                  fs::perms::owner_all);

  AplicacaoGravadora aplicacao(executavel);
  ModuloAtualizacao modulo(aplicacao);  // the real starter
  modulo.DefinirCaminhosAtualizacao(servidor + "/Dados/servidor.ini");
  int codigo = -1;
  try {
    modulo.VerificarAtualizacao([] {}, 1);
  } catch (const FimDoProcesso& f) {
    codigo = f.Codigo;
  }
  EXPECT_EQ(codigo, 0);
  ASSERT_EQ(aplicacao.Registro.size(), 2u);
  EXPECT_TRUE(aplicacao.Registro[0].starts_with("MostrarAviso(false, true): AVISO:"));

  // The updater runs on its own; wait for what it writes, but not for ever.
  ASSERT_TRUE(teste::EsperarArquivo(saida)) << "the stand-in updater wrote nothing within a minute";

  const std::vector<std::string> esperado = {atualizador,
                                             "@F1",
                                             "@M" + CodificarBrancos(atualizacao),
                                             "@E" + CodificarBrancos(estacao),
                                             "@AtolvaneGestor",
                                             fs::canonical(fs::current_path()).string()};
  EXPECT_EQ(Campos(LerArquivo(saida)), esperado);
  for (const auto& p : {fs::current_path(), fs::path(pasta.Caminho()), fs::path(servidor)}) {
    EXPECT_FALSE(fs::exists(p / "PWNED")) << p;
    EXPECT_FALSE(fs::exists(p / "PWNED2")) << p;
  }
}

}  // namespace
}  // namespace tolvane
