#include "database/firebird_teste.h"

#ifndef _WIN32
#include <unistd.h>
#endif

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "comum/arquivos_teste.h"
#include "comum/processo_teste.h"
#include "database/comando_sql.h"

namespace tolvane::teste {

void TesteFirebird::SetUpTestSuite() {
  std::setlocale(LC_ALL, "");
#ifdef _WIN32
  // Under Wine the client is the Linux one behind the tests' gds32 bridge, which reads the
  // Linux environment: CTest sets FIREBIRD_LOCK there.
#else
  if (std::getenv("FIREBIRD_LOCK")) return;
  const char* pasta = std::getenv("TOLVANE_TESTE_FIREBIRD");
  const std::string lock = pasta ? std::string(pasta) + "/lock-embarcado"
                                 : (std::filesystem::temp_directory_path() /
                                    ("tolvane-firebird-lock-" + std::to_string(getuid())))
                                       .string();
  setenv("FIREBIRD_LOCK", lock.c_str(), 1);
#endif
}

std::string EnderecoServidor() {
  const char* pasta = std::getenv("TOLVANE_TESTE_FIREBIRD");
  if (!pasta)
    throw std::runtime_error(
        "TOLVANE_TESTE_FIREBIRD is not set: run through CTest, which starts the server");
  const std::string arquivo = std::string(pasta) + "/servidor/porta";
  const std::string porta = std::filesystem::exists(arquivo) ? LerArquivo(arquivo) : "";
  if (porta.empty())
    throw std::runtime_error(std::string("the tests' Firebird server is not running (no ") + pasta +
                             "/servidor/porta)");
  return "127.0.0.1/" + porta.substr(0, porta.find('\n'));
}

void ExecutarIsql(const std::string& AScript) {
  PastaTemporaria pasta;
  const std::string script = pasta / "script.sql";
  const std::string saida = pasta / "saida.txt";
  EscreverArquivo(script, AScript);
  // Throws when isql-fb cannot start (it comes with the package firebird3.0-utils).
  if (Executar("isql-fb", {"-q", "-b", "-i", script}, saida) != 0)
    throw std::runtime_error("isql-fb failed:\n" + LerArquivo(saida) + "\nscript:\n" + AScript);
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
