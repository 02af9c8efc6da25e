#pragma once

#include <ibase.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tolvane {

// What the client library leaves in the system's buffers, read without trusting it: a length the
// client wrote is held to the buffer it was given, so a broken client or server cannot make the
// system read past it.

// The number of columns the client described in the output descriptor, sqld: no more than the
// sqln the descriptor holds, else (or when negative) an EIBClientError.
std::size_t ColunasDescritas(const XSQLDA& ASaida);

// The bytes of a row buffer for the column: sqllen, and two more before the text for a VARCHAR
// (its length). A negative sqllen is an EIBClientError.
std::size_t TamanhoDados(const XSQLVAR& AColuna);

// The fetched value of the column as text: nullopt for NULL (sqlind read only when sqltype says
// the column may be NULL). CHAR and VARCHAR are in the ANSI character set, SMALLINT, INTEGER and
// BIGINT of scale 0 in decimal. sqldata holds TamanhoDados(AColuna) bytes: a VARCHAR's length
// beyond sqllen reads sqllen bytes. Another column type, or an integer whose sqllen is not its
// type's size, is an EIBClientError.
std::optional<std::string> ValorColuna(const XSQLVAR& AColuna);

// The statement type (isc_info_sql_stmt_select, ...) in the answer of isc_dsql_sql_info to
// isc_info_sql_stmt_type: the item, a two-byte little-endian length, the type in that many
// little-endian bytes. An answer without the item, or whose length is 0, over 4 or past the
// answer's end, is an EIBClientError.
int TipoComando(std::string_view AResposta);

}  // namespace tolvane
