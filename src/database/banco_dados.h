#pragma once

#include <ibase.h>

#include <string>
#include <string_view>
#include <vector>

#include "database/cliente_firebird.h"

namespace tolvane {

class TransacaoBanco;

// The database connection object (the main window's IBD_BancoDados): one attachment of the
// Firebird client, with its parameters, its database name and its default transaction.
class ConexaoBanco {
 public:
  // Makes the client library available; the first creation in the process loads it. Throws
  // Erro("EIBClientError", "InterBase library ... not found in the path. ...") when it cannot.
  ConexaoBanco();
  // An attachment still open is rolled back and detached without any report: only Fechar
  // commits.
  ~ConexaoBanco();
  ConexaoBanco(const ConexaoBanco&) = delete;
  ConexaoBanco& operator=(const ConexaoBanco&) = delete;

  // Connection parameters "name=value" in order ("user_name", "password"): the parameter
  // block of the attach (see MontarDpb).
  void DefinirParametros(std::vector<std::string> AParametros);

  // The database name, stored without the characters of code 32 or lower at both ends; the
  // client gets it in the ANSI character set.
  void DefinirNomeBanco(std::string_view ANome);
  const std::string& NomeBanco() const noexcept { return FNomeBanco; }

  // Sets the default transaction, and this connection as its default database (nullptr
  // unlinks).
  void DefinirTransacaoPadrao(TransacaoBanco* ATransacao);
  TransacaoBanco* TransacaoPadrao() const noexcept { return FTransacao; }

  // Attaches (isc_attach_database). An empty name fails with Erro("EIBClientError", "Database
  // name is missing") without calling the client; a failure of the client is an ErroInterBase.
  // Opening an open connection does nothing.
  void Abrir();
  bool Aberta() const noexcept { return FHandle != 0; }

  // Closes an open connection: an active default transaction is committed
  // (isc_commit_transaction), or rolled back without any report when the commit fails; then the
  // database is detached. When the detach fails the connection counts as closed all the same
  // and the ErroInterBase goes to the caller. Closing a closed connection does nothing.
  void Fechar();

  const ClienteFirebird& Cliente() const noexcept { return FCliente; }
  isc_db_handle* Handle() noexcept { return &FHandle; }

 private:
  friend class TransacaoBanco;

  const ClienteFirebird& FCliente;
  isc_db_handle FHandle = 0;
  std::vector<std::string> FParametros;
  std::string FNomeBanco;
  TransacaoBanco* FTransacao = nullptr;
};

// The transaction object (the main window's IBT_BancoDados): the one transaction of its default
// database, started by the first statement run on that database and active until it is
// committed or rolled back.
class TransacaoBanco {
 public:
  // Needs the client library as ConexaoBanco does, and fails the same way without it.
  TransacaoBanco();
  // An active transaction is rolled back without any report.
  ~TransacaoBanco();
  TransacaoBanco(const TransacaoBanco&) = delete;
  TransacaoBanco& operator=(const TransacaoBanco&) = delete;

  // Transaction parameters by name, in order ("read_committed", "rec_version", "nowait"): the
  // parameter block of the start (see MontarTpb).
  void DefinirParametros(std::vector<std::string> AParametros);

  // The database the transaction runs on; ConexaoBanco::DefinirTransacaoPadrao sets it too.
  void DefinirBancoPadrao(ConexaoBanco* AConexao);
  ConexaoBanco* BancoPadrao() const noexcept { return FConexao; }

  bool Ativa() const noexcept { return FHandle != 0; }

  // Starts the transaction on the open default database (isc_start_multiple). Fails with an
  // EIBClientError when it is active already or has no open database.
  void Iniciar();
  // isc_commit_retaining: the work is committed and the transaction stays active.
  void ConfirmarRetendo();
  // isc_commit_transaction: the work is committed and the transaction ends. When the commit
  // fails the transaction stays active and the ErroInterBase goes to the caller.
  void Confirmar();
  // isc_rollback_transaction: the work is undone and the transaction ends.
  void Desfazer();

  isc_tr_handle* Handle() noexcept { return &FHandle; }

 private:
  friend class ConexaoBanco;
  void ExigirAtiva() const;

  const ClienteFirebird& FCliente;
  isc_tr_handle FHandle = 0;
  std::vector<std::string> FParametros;
  ConexaoBanco* FConexao = nullptr;
};

// The system's fixed settings on a new pair (steps between creating the objects and opening):
// parameters "user_name=sysdba" and "password=quelvorin" (nobody is ever asked for a login), the
// connection
// string as database name (trimmed), each object the other's default, transaction parameters
// "read_committed", "rec_version", "nowait". Does not open the connection.
void ConfigurarBancoDados(ConexaoBanco& AConexao, TransacaoBanco& ATransacao,
                          std::string_view AStringConexao);

}  // namespace tolvane
