#include "classtrib/lista_certificados.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "classtrib/gerador_certificados.h"
#include "comum/arquivos_teste.h"
#include "comum/texto_teste.h"
#include "comum/variavel_ambiente.h"

namespace tolvane {
namespace {

using teste::PastaTemporaria;
using teste::Repetir;
using teste::VariavelAmbiente;

// The combo box gets each name as the 513-byte ANSI buffer holds it: whole characters only, up
// to a NUL.
TEST(ListarNomesCertificados, NamesCutToTheAnsiBuffer) {
  PastaTemporaria dados;
  const VariavelAmbiente xdg("XDG_DATA_HOME", dados.Caminho());
  const VariavelAmbiente local("LC_ALL", "C.UTF-8");
  const std::string pasta = dados / "tolvane/certificados";
  std::filesystem::create_directories(pasta);
  const teste::GeradorCertificados gerador;
  gerador.Gravar({{{"CN", "A" + Repetir("Ç", 300)}}}, teste::FormatoTeste::Pkcs12,
                 pasta + "/1.p12");
  gerador.Gravar({{{"CN", "Curto"}}}, teste::FormatoTeste::Pkcs12, pasta + "/2.p12");
  gerador.Gravar({{{"CN", std::string("Antes\0Depois", 12)}}}, teste::FormatoTeste::Pkcs12,
                 pasta + "/3.p12");
  EXPECT_EQ(ListarNomesCertificados(),
            (std::vector<std::string>{"A" + Repetir("Ç", 255), "Curto", "Antes"}));
}

TEST(NomeNoBufferAnsi, CharactersOutsideTheCharacterSetBecomeQuestionMarks) {
  const VariavelAmbiente local("LC_ALL", "C");
  EXPECT_EQ(NomeNoBufferAnsi("JOÃO"), "JO?O");
  EXPECT_EQ(NomeNoBufferAnsi(Repetir("Ç", 600)), Repetir("?", 512));
}

}  // namespace
}  // namespace tolvane
