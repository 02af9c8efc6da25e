#include "update/caminhos_atualizacao.h"

#include <gtest/gtest.h>

#include "update/modulo_atualizacao.h"

namespace tolvane {
namespace {

TEST(CaminhosAtualizacao, UpdateFolderEncodingAndUpdaterArguments) {
  struct Caso {
    const char* Rotulo;
    char Separador;
    const char* IniServidor;
    const char* Executavel;
    const char* PastaAtualizacao;
    const char* AtualizacaoCodificada;
    const char* PastaExecutavel;
    const char* ExecutavelCodificada;
    const char* NomeExecutavel;
  };
  const Caso casos[] = {
      {"WindowsDrive", '\\', "S:\\Empresa\\Dados\\servidor.ini", "C:\\Sistema\\programa.exe",
       "S:\\Empresa\\Update", "S:\\Empresa\\Update", "C:\\Sistema", "C:\\Sistema", "programa.exe"},
      {"WindowsBlanks", '\\', "S:\\Sistema Novo\\Dados\\servidor.ini",
       "C:\\Sistema Novo\\programa.exe", "S:\\Sistema Novo\\Update", "S:\\Sistema§Novo\\Update",
       "C:\\Sistema Novo", "C:\\Sistema§Novo", "programa.exe"},
      {"WindowsShareTopFolder", '\\', "\\\\srv\\empresa\\servidor.ini", "C:\\a\\b.exe",
       "\\\\srv\\Update", "\\\\srv\\Update", "C:\\a", "C:\\a", "b.exe"},
      {"WindowsShareSubfolder", '\\', "\\\\srv\\empresa\\Dados\\servidor.ini", "C:\\a\\b.exe",
       "\\\\srv\\empresa\\Update", "\\\\srv\\empresa\\Update", "C:\\a", "C:\\a", "b.exe"},
      {"WindowsTrailingSeparatorNotCounted", '\\', "S:\\Empresa\\Dados\\", "C:\\a\\b.exe",
       "S:\\Update", "S:\\Update", "C:\\a", "C:\\a", "b.exe"},
      {"WindowsSlashesAreNoSeparator", '\\', "S:/Empresa/Dados/servidor.ini", "C:\\a\\b.exe",
       "Update", "Update", "C:\\a", "C:\\a", "b.exe"},
      {"Linux", '/', "/srv/empresa/dados/servidor.ini", "/opt/tolvane/tolvaneGestor",
       "/srv/empresa/Update", "/srv/empresa/Update", "/opt/tolvane", "/opt/tolvane",
       "tolvaneGestor"},
      {"LinuxBlanks", '/', "/mnt/Sistema Novo/Dados/servidor.ini",
       "/home/ana/Meus Programas/tolvaneGestor", "/mnt/Sistema Novo/Update",
       "/mnt/Sistema§Novo/Update", "/home/ana/Meus Programas", "/home/ana/Meus§Programas",
       "tolvaneGestor"},
      {"LinuxBackslashesAreNoSeparator", '/', "S:\\Empresa\\Dados\\servidor.ini",
       "/opt/tolvaneGestor", "Update", "Update", "/opt", "/opt", "tolvaneGestor"},
      {"RealSectionSignAndAccents", '/', "/srv/Ação §x/Dados/servidor.ini", "/opt/x/tolvaneGestor",
       "/srv/Ação §x/Update", "/srv/Ação§§x/Update", "/opt/x", "/opt/x", "tolvaneGestor"},
      {"NoSeparator", '/', "servidor.ini", "/opt/x/tolvaneGestor", "Update", "Update", "/opt/x",
       "/opt/x", "tolvaneGestor"},
      {"OneSeparator", '/', "/servidor.ini", "/opt/x/tolvaneGestor", "Update", "Update", "/opt/x",
       "/opt/x", "tolvaneGestor"},
      {"LastCharacterNeverExamined", '/', "/a/", "/opt/x/tolvaneGestor", "Update", "Update",
       "/opt/x", "/opt/x", "tolvaneGestor"},
      {"Empty", '/', "", "/opt/x/tolvaneGestor", "Update", "Update", "/opt/x", "/opt/x",
       "tolvaneGestor"},
      {"OneCharacter", '/', "/", "/opt/x/tolvaneGestor", "Update", "Update", "/opt/x", "/opt/x",
       "tolvaneGestor"},
      {"BlankInExecutableNameStays", '/', "/s/d/i.ini", "/opt/meu app/tolvane Gestor", "/s/Update",
       "/s/Update", "/opt/meu app", "/opt/meu§app", "tolvane Gestor"},
      {"ExecutableAtRoot", '/', "/s/d/i.ini", "/tolvaneGestor", "/s/Update", "/s/Update", "", "",
       "tolvaneGestor"},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.Rotulo);
    EXPECT_EQ(PastaAtualizacaoDe(c.IniServidor, c.Separador), c.PastaAtualizacao);
    const CaminhosAtualizacao r =
        CalcularCaminhosAtualizacao(c.IniServidor, c.Executavel, c.Separador);
    EXPECT_EQ(r.sNomeExecutavel, c.NomeExecutavel);
    EXPECT_EQ(r.sPastaExecutavel, c.PastaExecutavel);
    EXPECT_EQ(r.sPastaAtualizacao, c.PastaAtualizacao);
    EXPECT_EQ(r.sPastaAtualizacaoCodificada, c.AtualizacaoCodificada);
    EXPECT_EQ(r.sPastaExecutavelCodificada, c.ExecutavelCodificada);
    const std::vector<std::string> esperados = {"@F1", std::string("@M") + c.AtualizacaoCodificada,
                                                std::string("@E") + c.ExecutavelCodificada,
                                                std::string("@A") + c.NomeExecutavel};
    EXPECT_EQ(ArgumentosAtualizador(r), esperados);
  }
}

TEST(CaminhosAtualizacao, NoticeNamesTheExecutableUpToItsFirstDot) {
  EXPECT_EQ(TextoAvisoNovaVersao("tolvaneGestor"),
            "AVISO: Existe uma nova versão do aplicativo tolvaneGestor. A atualização será feita "
            "automaticamente. Aguarde...");
  EXPECT_EQ(TextoAvisoNovaVersao("a.b.exe"),
            "AVISO: Existe uma nova versão do aplicativo a. A atualização será feita "
            "automaticamente. Aguarde...");
  EXPECT_EQ(TextoAvisoNovaVersao(".exe"),
            "AVISO: Existe uma nova versão do aplicativo . A atualização será feita "
            "automaticamente. Aguarde...");
}

}  // namespace
}  // namespace tolvane
