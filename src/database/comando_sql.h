#pragma once

#include <ibase.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "database/banco_dados.h"

namespace tolvane {

// A statement object bound to a connection: each statement runs in the connection's default
// transaction, which the statement starts when it is not active. The statement handle is
// released when the object goes, also when a statement failed.
class ComandoSql {
 public:
  explicit ComandoSql(ConexaoBanco& AConexao);
  ~ComandoSql();
  ComandoSql(const ComandoSql&) = delete;
  ComandoSql& operator=(const ComandoSql&) = delete;

  // Closes the previous result, then prepares (SQL dialect 3) and runs the statement text, which
  // reaches the client in the ANSI character set. A query is opened and its first row fetched.
  // Fails with an EIBClientError when the connection is not open or has no default transaction,
  // or when the client's description of the statement is broken (more columns than asked for, a
  // negative length, no statement type), and with an ErroInterBase when the client refuses.
  void Executar(std::string_view ASql);

  // True when the open query has no current row (none found, or fetched past the last one), and
  // after a statement that is no query.
  bool Eof() const noexcept { return !FLinha; }

  // Fetches the next row of the open query; false (and Eof) when there is none.
  bool Proximo();

  // Number of columns of the prepared statement's result (0 for a statement that is no query).
  std::size_t Colunas() const noexcept { return FDados.size(); }

  // The current row's column (from 0) as text, read as ValorColuna reads it (nullopt for NULL;
  // texts and integers of scale 0). No current row is an EIBClientError.
  std::optional<std::string> Campo(std::size_t AIndice) const;

  // Closes the open result, if any (the statement stays prepared).
  void Fechar();

 private:
  struct LiberarXsqlda {
    void operator()(XSQLDA* A) const noexcept { std::free(A); }
  };
  using Xsqlda = std::unique_ptr<XSQLDA, LiberarXsqlda>;

  void Preparar(std::string_view ASql, TransacaoBanco& ATransacao);
  bool EhConsulta();

  ConexaoBanco& FConexao;
  const ClienteFirebird& FCliente;
  isc_stmt_handle FHandle = 0;
  Xsqlda FSaida;
  std::vector<std::vector<char>> FDados;
  std::vector<short> FIndicadores;
  bool FCursorAberto = false;
  bool FLinha = false;
};

}  // namespace tolvane
