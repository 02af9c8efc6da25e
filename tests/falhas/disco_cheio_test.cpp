// A full disk under each of the program's writes: the answer file, the master-folder copy and
// the updater's copy of the executable. Each leaves the old file whole and nothing half-written.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "classtrib/arquivo_retorno.h"
#include "comum/arquivos_teste.h"
#include "falhas/disco_pequeno.h"
#include "platform/substituicao_executavel.h"
#include "update/sistema_arquivos.h"

namespace tolvane {
namespace {

using teste::DiscoPequeno;
using teste::PastaTemporaria;

constexpr unsigned long kTamanhoDisco = 256 * 1024;
constexpr unsigned long kLivres = 16 * 1024;

struct CasoDiscoCheio {
  const char* Rotulo;
  const char* Arquivo;   // the file on the full disk that the write concerns
  const char* Anterior;  // its bytes before the write; nullptr: it did not exist
  // The write, with a source folder on an ordinary disk; "<kind>|<message>" or "ok" comes back.
  std::function<void(const std::string& AOrigem, const std::string& ADisco)> Gravar;
  // Expected, on the mounted disk (no space left) and under the file-size limit (file too
  // large); "{disco}" stands for the disk's path.
  std::string Desfecho;
  std::string DesfechoLimite;
};

TEST(DiscoCheio, WritesOfTheProgramLeaveTheOldFileWhole) {
  const std::string grande(200 * 1024, 'n');
  const CasoDiscoCheio casos[] = {
      {"arquivo_de_retorno", "RetornoClassTrib.json", "{\"anterior\":1}\r\n",
       [&](const std::string&, const std::string& ADisco) {
         SalvarArquivoRetorno(grande, ADisco + "/RetornoClassTrib.json");
       },
       "EWriteError|Stream write error", "EWriteError|Stream write error"},
      {"copia_da_pasta_mestre", "tolvaneEmpresa.exe", nullptr,
       [&](const std::string& AOrigem, const std::string& ADisco) {
         CopiarArquivoNovo(AOrigem + "/tolvaneEmpresa.exe", ADisco + "/tolvaneEmpresa.exe");
       },
       "ok", "ok"},  // the copy's outcome is ignored by design
      {"copia_do_atualizador", "tolvaneGestor", "velho",
       [&](const std::string& AOrigem, const std::string& ADisco) {
         SubstituirExecutavel(AOrigem + "/tolvaneGestor", ADisco, "tolvaneGestor");
       },
       "EOSError|Não há espaço livre na pasta do executável \"{disco}\" para a nova cópia.",
       "EOSError|Não foi possível gravar a nova cópia na pasta do executável \"{disco}\": File "
       "too large."},
  };
  // Each case on the mounted disk and under the file-size limit that stands in for it where no
  // mount is allowed: both must hold, since either is what a run may get.
  for (const bool montar : {true, false}) {
    for (const auto& c : casos) {
      SCOPED_TRACE(c.Rotulo);
      PastaTemporaria origem;
      teste::EscreverArquivo(origem / "tolvaneEmpresa.exe", grande);
      teste::EscreverArquivo(origem / "tolvaneGestor", grande, std::filesystem::perms(0755));
      DiscoPequeno disco(kTamanhoDisco, montar);
      SCOPED_TRACE(disco.Como());
      if (montar && std::string(disco.Como()) != "tmpfs") {
        RecordProperty("tmpfs", "no mount allowed: only the file-size limit ran");
        break;
      }
      if (c.Anterior) teste::EscreverArquivo(disco / c.Arquivo, c.Anterior);
      disco.Encher("enchimento", kLivres);
      const std::vector<std::string> antes = teste::EntradasDaPasta(disco.Caminho());

      std::string esperado = montar ? c.Desfecho : c.DesfechoLimite;
      if (const auto p = esperado.find("{disco}"); p != std::string::npos)
        esperado.replace(p, 7, disco.Caminho());
      EXPECT_EQ(disco.NoDisco([&] { c.Gravar(origem.Caminho(), disco.Caminho()); }), esperado);
      if (c.Anterior) {
        EXPECT_EQ(teste::LerArquivo(disco / c.Arquivo), c.Anterior);
      }
      EXPECT_EQ(teste::EntradasDaPasta(disco.Caminho()), antes) << "a partial file was left";
    }
  }
}

}  // namespace
}  // namespace tolvane
