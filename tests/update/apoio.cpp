#include "apoio.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>

extern char** environ;

namespace tolvane::teste {

PastaTemporaria::PastaTemporaria() {
  std::string modelo = (fs::temp_directory_path() / "tolvane-update-XXXXXX").string();
  if (!mkdtemp(modelo.data())) throw std::runtime_error("mkdtemp failed for " + modelo);
  FCaminho = modelo;
}

PastaTemporaria::~PastaTemporaria() {
  std::error_code ec;
  fs::remove_all(FCaminho, ec);
}

VariavelAmbiente::VariavelAmbiente(const char* ANome, const std::optional<std::string>& AValor)
    : FNome(ANome) {
  if (const char* antigo = std::getenv(ANome)) FAntigo = antigo;
  if (AValor)
    setenv(ANome, AValor->c_str(), 1);
  else
    unsetenv(ANome);
}

VariavelAmbiente::~VariavelAmbiente() {
  if (FAntigo)
    setenv(FNome.c_str(), FAntigo->c_str(), 1);
  else
    unsetenv(FNome.c_str());
}

void GravarArquivo(const std::string& ACaminho, const std::string& AConteudo,
                   std::optional<fs::perms> AModo) {
  fs::create_directories(fs::path(ACaminho).parent_path());
  std::ofstream(ACaminho, std::ios::binary | std::ios::trunc) << AConteudo;
  if (AModo) fs::permissions(ACaminho, *AModo);
}

std::string LerArquivo(const std::string& ACaminho) {
  std::ifstream arquivo(ACaminho, std::ios::binary);
  std::ostringstream r;
  r << arquivo.rdbuf();
  return r.str();
}

void DefinirDataLocal(const std::string& ACaminho, const DataHora& AData) {
  std::tm local{};
  local.tm_year = AData.Ano - 1900;
  local.tm_mon = AData.Mes - 1;
  local.tm_mday = AData.Dia;
  local.tm_hour = AData.Hora;
  local.tm_min = AData.Minuto;
  local.tm_sec = AData.Segundo;
  local.tm_isdst = -1;
  const std::time_t t = std::mktime(&local);
  const timespec tempos[2] = {{t, 0}, {t, 0}};
  if (utimensat(AT_FDCWD, ACaminho.c_str(), tempos, 0) != 0)
    throw std::runtime_error("utimensat failed for " + ACaminho);
}

int Executar(const std::string& APrograma, const std::vector<std::string>& AArgumentos,
             const std::string& ASaida) {
  std::vector<char*> argv{const_cast<char*>(APrograma.c_str())};
  for (const auto& a : AArgumentos) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t acoes;
  posix_spawn_file_actions_init(&acoes);
  posix_spawn_file_actions_addopen(&acoes, 1, ASaida.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&acoes, 1, 2);
  pid_t pid = 0;
  const int rc = posix_spawnp(&pid, APrograma.c_str(), &acoes, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&acoes);
  if (rc != 0) return -1;
  int estado = 0;
  if (waitpid(pid, &estado, 0) != pid || !WIFEXITED(estado)) return -1;
  return WEXITSTATUS(estado);
}

int AplicacaoGravadora::MessageBox(const std::string& ATexto, const std::string& ACaption,
                                   unsigned AFlags) {
  FRegistro.push_back("MessageBox(" + ACaption + ", " + std::to_string(AFlags) + "): " + ATexto);
  return 1;
}

void AplicacaoGravadora::MostrarAviso(const std::string& ATexto, bool AComConfirmacao,
                                      bool AFecharAutomatico) {
  FRegistro.push_back(std::string("MostrarAviso(") + (AComConfirmacao ? "true" : "false") + ", " +
                      (AFecharAutomatico ? "true" : "false") + "): " + ATexto);
}

void AplicacaoGravadora::EncerrarProcesso(int ACodigoSaida) {
  FRegistro.push_back("EncerrarProcesso(" + std::to_string(ACodigoSaida) + ")");
  throw FimDoProcesso{ACodigoSaida};
}

}  // namespace tolvane::teste
