// The client library on a workstation whose program folder holds a gds32.dll that cannot be
// loaded: the failure keeps its kind and text and names the file, saying why. The helper
// carregar_cliente is copied into a folder of its own beside the file and run there, as the
// program runs beside the ERP's files.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "comum/arquivos_teste.h"
#include "comum/processo_teste.h"
#include "core/caminho.h"

namespace tolvane {
namespace {

using teste::LerArquivo;
using teste::PastaTemporaria;

TEST(ClienteFirebirdWindows, AFileOfTheWrongKindIsNamedInTheLoadFailure) {
  const std::string falha =
      "EIBClientError: InterBase library gds32.dll not found in the path. Please install "
      "InterBase to use this functionality";
  const std::string outraArquitetura =
      sizeof(void*) == 8 ? "é uma biblioteca de 32 bits, e este programa é de 64 bits."
                         : "é uma biblioteca de 64 bits, e este programa é de 32 bits.";
  const struct {
    const char* Rotulo;
    std::optional<std::string> Conteudo;  // of gds32.dll beside the program; none: no such file
    std::string Frase;                    // what the failure adds after the file's name
  } casos[] = {
      {"library of the other architecture", LerArquivo(TOLVANE_OUTRA_ARQUITETURA_GDS32),
       outraArquitetura},
      {"text file", "[Database]\r\nServidor=erp\r\n", "não é uma biblioteca do Windows."},
      {"no file", std::nullopt, ""},
  };
  for (const auto& c : casos) {
    PastaTemporaria pasta;
    const std::string programa = pasta / "carregar_cliente.exe";
    std::filesystem::copy_file(CaminhoDe(TOLVANE_CARREGAR_CLIENTE), CaminhoDe(programa));
    if (c.Conteudo) teste::EscreverArquivo(pasta / "gds32.dll", *c.Conteudo);
    const std::string saida = pasta / "saida.txt";
    ASSERT_EQ(teste::Executar(programa, {pasta / "resultado.txt"}, saida), 0) << c.Rotulo << "\n"
                                                                              << LerArquivo(saida);
    const std::string esperado =
        c.Frase.empty() ? falha : falha + "\r\nO arquivo " + (pasta / "gds32.dll") + " " + c.Frase;
    EXPECT_EQ(LerArquivo(pasta / "resultado.txt"), esperado) << c.Rotulo;
  }
}

}  // namespace
}  // namespace tolvane
