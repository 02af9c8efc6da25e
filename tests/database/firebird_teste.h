#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "database/banco_dados.h"

namespace tolvane::teste {

// Base of the tests against a real Firebird. Before the first attach of the process it gives
// the embedded engine a lock folder of the tests' own (FIREBIRD_LOCK, unless set already): the
// package's /tmp/firebird belongs to the firebird group, so a normal user could not open a bare
// path without it, and root would share it with the machine's service. It also takes the
// locale from the environment (setlocale), as the program does at start (Qt does it): the client
// library reads a database name in the process's character set.
class TesteFirebird : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
};

// "127.0.0.1/<port>" of the tests' own server (tests/database/servidor_firebird.sh, a CTest
// fixture); throws with the reason when it is not running.
std::string EnderecoServidor();

// Runs isql-fb on the script (stopping at the first error); throws with its output when it fails.
void ExecutarIsql(const std::string& AScript);

// Creates a database with isql-fb: the attach text as the client takes it (a bare path, or
// "server:path"), then the statements of ASql, committed.
void CriarBanco(const std::string& ANome, const std::string& ASql);

// A text value for SQL: single quotes, inner ones doubled.
std::string Citar(const std::string& ATexto);

// A second attachment, with the system's own settings, for looking at a database from outside.
class Sessao {
 public:
  explicit Sessao(const std::string& ANome);
  // Every row of the query, each column as text or nullopt for NULL.
  std::vector<std::vector<std::optional<std::string>>> Consultar(const std::string& ASql);
  // The first column of the first row.
  std::optional<std::string> Valor(const std::string& ASql);
  void Executar(const std::string& ASql);

  ConexaoBanco Conexao;
  TransacaoBanco Transacao;
};

}  // namespace tolvane::teste
