#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <sstream>

#include "comum/aplicacao_gravadora.h"
#include "comum/arquivos_teste.h"
#include "comum/processo_teste.h"
#include "comum/variavel_ambiente.h"
#include "update/modulo_atualizacao.h"

namespace tolvane {
namespace {

using namespace teste;
namespace fs = std::filesystem;

// The keys of a desktop entry's main group.
std::map<std::string, std::string> LerEntrada(const std::string& AArquivo) {
  std::map<std::string, std::string> r;
  std::istringstream texto(LerArquivo(AArquivo));
  bool grupo = false;
  for (std::string linha; std::getline(texto, linha);) {
    if (linha.starts_with('[')) {
      grupo = linha == "[Desktop Entry]";
      continue;
    }
    const auto igual = linha.find('=');
    if (grupo && igual != std::string::npos) r[linha.substr(0, igual)] = linha.substr(igual + 1);
  }
  return r;
}

// The program an Exec value starts: the string escapes undone, then the one quoted argument.
std::string ProgramaDoExec(const std::string& AValor) {
  std::string texto;
  for (std::size_t i = 0; i < AValor.size(); ++i) {
    if (AValor[i] != '\\' || i + 1 == AValor.size()) {
      texto += AValor[i];
      continue;
    }
    const char c = AValor[++i];
    texto += c == 's' ? ' ' : c == 'n' ? '\n' : c == 't' ? '\t' : c == 'r' ? '\r' : c;
  }
  if (texto.size() < 2 || texto.front() != '"' || texto.back() != '"')
    return "(not quoted) " + texto;
  std::string programa;
  for (std::size_t i = 1; i + 1 < texto.size(); ++i) {
    if (texto[i] == '\\' && i + 2 < texto.size())
      ++i;
    else if (texto[i] == '%' && i + 2 < texto.size() && texto[i + 1] == '%')
      ++i;
    programa += texto[i];
  }
  return programa;
}

// desktop-file-validate's verdict, with its output when it refuses.
::testing::AssertionResult Validado(const std::string& AArquivo, const std::string& ASaida) {
  const int rc = Executar("desktop-file-validate", {AArquivo}, ASaida);
  if (rc == -1) return ::testing::AssertionFailure() << "desktop-file-validate did not end";
  if (rc != 0) return ::testing::AssertionFailure() << LerArquivo(ASaida);
  return ::testing::AssertionSuccess();
}

bool Executavel(const std::string& AArquivo) {
  struct stat st {};
  return stat(AArquivo.c_str(), &st) == 0 && (st.st_mode & S_IXUSR);
}

// A workstation with the executable, the user's home with its desktop, the file server's update
// folder and a master folder of the ERP's executables.
class PosAtualizacaoTeste : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(FDesktop); }

  PastaTemporaria FPasta;
  VariavelAmbiente FHome{"HOME", FPasta / "home"};
  VariavelAmbiente FConfig{"XDG_CONFIG_HOME", std::nullopt};
  const std::string FDesktop = FPasta / "home/Desktop";
  const std::string FEstacao = FPasta / "estacao";
  const std::string FIniServidor = FPasta / "servidor/Dados/servidor.ini";
  const std::string FAtualizacao = FPasta / "servidor/Update";
  const std::string FMestre = FPasta / "mestre";
};

TEST_F(PosAtualizacaoTeste, MarkersShortcutAndMasterFolderCopy) {
  struct Caso {
    const char* Rotulo;
    const char* NomeExecutavel;
    bool MarcadorAtualizacao;
    bool MarcadorEhPasta;
    bool SegundoMarcador;
    const char* PastaMestre;  // nullptr: the master folder
    const char* Atalho;       // nullptr: none
    const char* Descricao;
    bool Copia;
  };
  const Caso casos[] = {
      {"NoMarkers", "tolvaneGestor", false, false, false, nullptr, nullptr, "", false},
      {"SecondMarkerOnly", "tolvaneGestor", false, false, true, nullptr, nullptr, "", false},
      {"OwnExecutable", "tolvaneGestor", true, false, true, nullptr, "Novo tolvaneGestor.desktop",
       "tolvaneGestor", false},
      {"ErpExecutable", "tolvaneEmpresa.exe", true, false, true, nullptr,
       "Novo tolvaneEmpresa.desktop", "tolvaneEmpresa.exe", true},
      {"ErpExecutable4", "tolvaneEmpresa4.exe", true, false, false, nullptr,
       "Novo tolvaneEmpresa4.desktop", "tolvaneEmpresa4.exe", true},
      {"ErpNameInOtherLetterCase", "tolvaneempresa4.exe", true, false, true, nullptr,
       "Novo tolvaneempresa4.desktop", "tolvaneempresa4.exe", false},
      {"EmptyMasterFolderCopiesNothing", "tolvaneEmpresa.exe", true, false, true, "",
       "Novo tolvaneEmpresa.desktop", "tolvaneEmpresa.exe", false},
      {"MissingMasterFolder", "tolvaneEmpresa.exe", true, false, true, "/nao/existe",
       "Novo tolvaneEmpresa.desktop", "tolvaneEmpresa.exe", false},
      {"UpdateMarkerThatIsAFolderIsNoMarker", "tolvaneEmpresa.exe", true, true, true, nullptr,
       nullptr, "", false},
      {"NameWithFurtherDots", "a.b.exe", true, false, true, nullptr, "Novo a.b.desktop", "a.b.exe",
       false},
  };
  const DataHora dataMestre{2023, 5, 10, 8, 30, 0};
  for (const auto& c : casos) {
    SCOPED_TRACE(c.Rotulo);
    std::error_code ec;
    for (const auto& p : {FEstacao, FAtualizacao, FMestre, FDesktop}) fs::remove_all(p, ec);
    fs::create_directories(FDesktop);
    EscreverArquivo(FAtualizacao + "/Existe.exe", "already on the server");
    for (const char* nome : {"Um.exe", "Dois.EXE", ".oculto.exe", "Existe.exe", "tres.txt"}) {
      EscreverArquivo(FMestre + "/" + nome, std::string("master ") + nome);
      DefinirDataLocal(FMestre + "/" + nome, dataMestre);
    }
    fs::create_directories(FMestre + "/pasta.exe");

    const std::string executavel = FEstacao + "/" + c.NomeExecutavel;
    EscreverArquivo(executavel, "programa", fs::perms::owner_all);
    const std::string marcador = FEstacao + "/Exec-" + c.NomeExecutavel + ".ini";
    const std::string segundo = FEstacao + "/Exec-" + c.NomeExecutavel;
    if (c.MarcadorEhPasta)
      fs::create_directories(marcador);
    else if (c.MarcadorAtualizacao)
      EscreverArquivo(marcador, "[Configuracao]\nPastaMestre = " +
                                    std::string(c.PastaMestre ? c.PastaMestre : FMestre) + "\n");
    if (c.SegundoMarcador) EscreverArquivo(segundo, "");

    AplicacaoGravadora aplicacao(executavel);
    ModuloAtualizacao modulo(aplicacao);
    modulo.DefinirCaminhosAtualizacao(FIniServidor);
    modulo.ProcessarMarcadoresExec();

    EXPECT_TRUE(aplicacao.Registro.empty());
    EXPECT_FALSE(fs::exists(segundo));
    EXPECT_EQ(fs::exists(marcador), c.MarcadorEhPasta);
    if (c.Atalho) {
      EXPECT_EQ(EntradasDaPasta(FDesktop), std::vector<std::string>{c.Atalho});
      const std::string atalho = FDesktop + "/" + c.Atalho;
      const auto chaves = LerEntrada(atalho);
      EXPECT_EQ(chaves.at("Type"), "Application");
      EXPECT_EQ(chaves.at("Name"), c.Descricao);
      EXPECT_EQ(chaves.at("Comment"), c.Descricao);
      EXPECT_EQ(ProgramaDoExec(chaves.at("Exec")), executavel);
      EXPECT_TRUE(Executavel(atalho));
      EXPECT_TRUE(Validado(atalho, FPasta / "validacao.txt"));
    } else {
      EXPECT_TRUE(EntradasDaPasta(FDesktop).empty());
    }
    const std::vector<std::string> esperado =
        c.Copia ? std::vector<std::string>{".oculto.exe", "Dois.EXE", "Existe.exe", "Um.exe"}
                : std::vector<std::string>{"Existe.exe"};
    EXPECT_EQ(EntradasDaPasta(FAtualizacao), esperado);
    EXPECT_EQ(LerArquivo(FAtualizacao + "/Existe.exe"), "already on the server");
    if (c.Copia) {
      EXPECT_EQ(LerArquivo(FAtualizacao + "/Dois.EXE"), "master Dois.EXE");
      EXPECT_EQ(fs::last_write_time(FAtualizacao + "/Um.exe"),
                fs::last_write_time(FMestre + "/Um.exe"));
    }
  }
}

// The copy goes to the update folder as the updater sees it: every "§" of the encoded folder,
// a real one included, is a blank.
TEST_F(PosAtualizacaoTeste, CopyTargetTurnsEverySectionSignIntoABlank) {
  const std::string real = FPasta / "Sistema§Novo/Update";
  const std::string alvo = FPasta / "Sistema Novo/Update";
  fs::create_directories(real);
  fs::create_directories(alvo);
  EscreverArquivo(FMestre + "/Um.exe", "master");
  const std::string executavel = FEstacao + "/tolvaneEmpresa4.exe";
  EscreverArquivo(executavel, "programa");
  EscreverArquivo(FEstacao + "/Exec-tolvaneEmpresa4.exe.ini",
                  "[configuracao]\npastamestre=" + FMestre + "\n");
  AplicacaoGravadora aplicacao(executavel);
  ModuloAtualizacao modulo(aplicacao);
  modulo.DefinirCaminhosAtualizacao(FPasta / "Sistema§Novo/Dados/servidor.ini");
  modulo.ProcessarMarcadoresExec();
  EXPECT_EQ(EntradasDaPasta(alvo), std::vector<std::string>{"Um.exe"});
  EXPECT_TRUE(EntradasDaPasta(real).empty());
}

// Folders with blanks, quotes, "$", "`", "%", backslashes, newlines and accents: the launcher
// still starts exactly the running executable, and the validator accepts it.
TEST_F(PosAtualizacaoTeste, ShortcutQuotesAnyExecutablePathAndReplacesTheOldOne) {
  const std::string pasta = FPasta / "Meus Programas \"x\" 'y' $HOME `id` 100% a\\b\nlinha ção";
  const std::string executavel = pasta + "/tolvane Gestor";
  EscreverArquivo(executavel, "programa", fs::perms::owner_all);
  const std::string atalho = FDesktop + "/Novo tolvane Gestor.desktop";
  EscreverArquivo(atalho, "old launcher", fs::perms::owner_read | fs::perms::owner_write);

  AplicacaoGravadora aplicacao(executavel);
  ModuloAtualizacao modulo(aplicacao);
  modulo.DefinirCaminhosAtualizacao(FIniServidor);
  modulo.CriarAtalhoAreaTrabalho();

  EXPECT_EQ(EntradasDaPasta(FDesktop), std::vector<std::string>{"Novo tolvane Gestor.desktop"});
  const auto chaves = LerEntrada(atalho);
  EXPECT_EQ(chaves.at("Name"), "tolvane Gestor");
  EXPECT_EQ(ProgramaDoExec(chaves.at("Exec")), executavel);
  EXPECT_TRUE(Executavel(atalho));
  EXPECT_TRUE(Validado(atalho, FPasta / "validacao.txt"));
}

TEST_F(PosAtualizacaoTeste, ShortcutThatCannotBeWrittenPassesSilently) {
  const std::string executavel = FEstacao + "/tolvaneGestor";
  EscreverArquivo(executavel, "programa");
  fs::create_directories(FDesktop + "/Novo tolvaneGestor.desktop");  // a folder in the way
  AplicacaoGravadora aplicacao(executavel);
  ModuloAtualizacao modulo(aplicacao);
  modulo.DefinirCaminhosAtualizacao(FIniServidor);
  modulo.CriarAtalhoAreaTrabalho();
  EXPECT_TRUE(fs::is_directory(FDesktop + "/Novo tolvaneGestor.desktop"));
  EXPECT_EQ(EntradasDaPasta(FDesktop), std::vector<std::string>{"Novo tolvaneGestor.desktop"});

  fs::remove_all(FDesktop);  // no desktop folder at all
  modulo.CriarAtalhoAreaTrabalho();
  EXPECT_FALSE(fs::exists(FDesktop));
}

TEST(PosAtualizacao, ShortcutNameDropsTheSuffixThenTheLastDot) {
  EXPECT_EQ(NomeAtalho("tolvaneGestor"), "tolvaneGestor");
  EXPECT_EQ(NomeAtalho("tolvaneEmpresa.exe"), "tolvaneEmpresa");
  EXPECT_EQ(NomeAtalho("a.b.exe"), "a.b");
  EXPECT_EQ(NomeAtalho("programa"), "programa");
}

}  // namespace
}  // namespace tolvane
