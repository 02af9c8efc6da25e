#include "database/firebird_teste.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "comum/arquivos_teste.h"
#include "database/comando_sql.h"

extern char** environ;

namespace tolvane::teste {

namespace {

std::string LerTexto(const std::string& ACaminho) {
  std::ifstream arquivo(ACaminho, std::ios::binary);
  std::stringstream conteudo;
  conteudo << arquivo.rdbuf();
  return conteudo.str();
}

}  // namespace

void TesteFirebird::SetUpTestSuite() {
  std::setlocale(LC_ALL, "");
  if (std::getenv("FIREBIRD_LOCK")) return;
  const char* pasta = std::getenv("TOLVANE_TESTE_FIREBIRD");
  const std::string lock = pasta ? std::string(pasta) + "/lock-embarcado"
                                 : (std::filesystem::temp_directory_path() /
                                    ("tolvane-firebird-lock-" + std::to_string(getuid())))
                                       .string();
  setenv("FIREBIRD_LOCK", lock.c_str(), 1);
}

std::string EnderecoServidor() {
  const char* pasta = std::getenv("TOLVANE_TESTE_FIREBIRD");
  if (!pasta)
    throw std::runtime_error(
        "TOLVANE_TESTE_FIREBIRD is not set: run through CTest, which starts the server");
  const std::string porta = LerTexto(std::string(pasta) + "/servidor/porta");
  if (porta.empty())
    throw std::runtime_error(std::string("the tests' Firebird server is not running (no ") + pasta +
                             "/servidor/porta)");
  return "127.0.0.1/" + porta.substr(0, porta.find('\n'));
}

int PortaFechada() {
  // A port just given by the system and released again: nothing listens there.
  const int s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in endereco{};
  endereco.sin_family = AF_INET;
  endereco.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t tamanho = sizeof endereco;
  if (s < 0 || bind(s, reinterpret_cast<sockaddr*>(&endereco), sizeof endereco) != 0 ||
      getsockname(s, reinterpret_cast<sockaddr*>(&endereco), &tamanho) != 0)
    throw std::runtime_error("no free port");
  close(s);
  return ntohs(endereco.sin_port);
}

void ExecutarIsql(const std::string& AScript) {
  PastaTemporaria pasta;
  const std::string script = pasta / "script.sql";
  const std::string saida = pasta / "saida.txt";
  EscreverArquivo(script, AScript);
  posix_spawn_file_actions_t acoes;
  posix_spawn_file_actions_init(&acoes);
  posix_spawn_file_actions_addopen(&acoes, 1, saida.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_adddup2(&acoes, 1, 2);
  std::vector<std::string> argumentos = {"isql-fb", "-q", "-b", "-i", script};
  std::vector<char*> argv;
  for (auto& a : argumentos) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int rc = posix_spawnp(&pid, "isql-fb", &acoes, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&acoes);
  if (rc != 0) throw std::runtime_error("isql-fb could not start (package firebird3.0-utils)");
  int estado = 0;
  waitpid(pid, &estado, 0);
  if (!WIFEXITED(estado) || WEXITSTATUS(estado) != 0)
    throw std::runtime_error("isql-fb failed:\n" + LerTexto(saida) + "\nscript:\n" + AScript);
}

std::string Citar(const std::string& ATexto) {
  std::string r = "'";
  for (char c : ATexto) {
    r += c;
    if (c == '\'') r += '\'';
  }
  return r + "'";
}

void CriarBanco(const std::string& ANome, const std::string& ASql) {
  ExecutarIsql("create database " + Citar(ANome) + " user 'sysdba' password 'quelvorin';\n" + ASql +
               "\ncommit;\n");
}

Sessao::Sessao(const std::string& ANome) {
  ConfigurarBancoDados(Conexao, Transacao, ANome);
  Conexao.Abrir();
}

std::vector<std::vector<std::optional<std::string>>> Sessao::Consultar(const std::string& ASql) {
  std::vector<std::vector<std::optional<std::string>>> linhas;
  {
    ComandoSql comando(Conexao);
    comando.Executar(ASql);
    for (; !comando.Eof(); comando.Proximo()) {
      auto& linha = linhas.emplace_back();
      for (std::size_t i = 0; i < comando.Colunas(); ++i) linha.push_back(comando.Campo(i));
    }
  }
  Transacao.Confirmar();
  return linhas;
}

std::optional<std::string> Sessao::Valor(const std::string& ASql) {
  const auto linhas = Consultar(ASql);
  if (linhas.empty() || linhas[0].empty()) throw std::runtime_error("no value: " + ASql);
  return linhas[0][0];
}

void Sessao::Executar(const std::string& ASql) {
  ComandoSql comando(Conexao);
  comando.Executar(ASql);
}

}  // namespace tolvane::teste
