// What the client leaves in a row buffer and in an info answer, forged as a broken client or server
// could leave them: the system reads the buffer it gave the client and nothing past it.
#include "database/resposta_cliente.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "comum/espera_teste.h"
#include "core/erro.h"

namespace tolvane {
namespace {

using namespace std::literals;

// The bytes of a value as the client writes them into the row buffer (the machine's order).
template <typename T>
std::string Bytes(T AValor) {
  std::string r(sizeof AValor, '\0');
  std::memcpy(r.data(), &AValor, sizeof AValor);
  return r;
}

// A VARCHAR's bytes: the length the client wrote, then the text.
std::string Varchar(std::uint16_t AComprimento, std::string_view ATexto) {
  return Bytes(AComprimento) + std::string(ATexto);
}

// One column after a fetch: its description and a row buffer of exactly the size the system gives
// the client, on the heap, so that a read past its end is a sanitizer report (the suite runs
// under ASan in scripts/test) and, without one, a wrong value.
struct Coluna {
  Coluna(short ATipo, short ASqllen, std::string_view ABytes, short AEscala = 0) {
    Descricao.sqltype = ATipo;
    Descricao.sqllen = ASqllen;
    Descricao.sqlscale = AEscala;
    Dados.assign(TamanhoDados(Descricao), '\0');
    std::copy_n(ABytes.begin(), std::min(ABytes.size(), Dados.size()), Dados.begin());
    Descricao.sqldata = Dados.data();
    Descricao.sqlind = &Indicador;
  }
  Coluna(const Coluna&) = delete;
  Coluna& operator=(const Coluna&) = delete;

  XSQLVAR Descricao{};
  std::vector<char> Dados;
  short Indicador = 0;
};

TEST(RespostaCliente, ColumnValuesReadWithinTheRowBuffer) {
  struct Caso {
    const char* Rotulo;
    short Tipo;
    short Sqllen;
    std::string Bytes;
    std::optional<std::string> Valor;
    short Indicador = 0;
  };
  const Caso casos[] = {
      {"char", SQL_TEXT, 5, "abc  ", "abc  "},
      {"varchar", SQL_VARYING, 10, Varchar(3, "abc"), "abc"},
      {"varchar_full", SQL_VARYING, 10, Varchar(10, "0123456789"), "0123456789"},
      {"varchar_empty", SQL_VARYING, 10, Varchar(0, ""), ""},
      // A length past the column: the text is held to the column's 10 bytes.
      {"varchar_length_forged", SQL_VARYING, 10, Varchar(200, "0123456789"), "0123456789"},
      {"varchar_length_forged_to_the_maximum", SQL_VARYING, 3, Varchar(65535, "abc"), "abc"},
      {"nullable_varchar_null", SQL_VARYING + 1, 10, Varchar(3, "abc"), std::nullopt, -1},
      {"nullable_varchar_set", SQL_VARYING + 1, 10, Varchar(3, "abc"), "abc", 0},
      {"smallint", SQL_SHORT, 2, Bytes<short>(-7), "-7"},
      {"integer", SQL_LONG, 4, Bytes<ISC_LONG>(2147483647), "2147483647"},
      {"bigint", SQL_INT64, 8, Bytes<ISC_INT64>(INT64_MIN), "-9223372036854775808"},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.Rotulo);
    Coluna coluna(c.Tipo, c.Sqllen, c.Bytes);
    coluna.Indicador = c.Indicador;
    EXPECT_EQ(ValorColuna(coluna.Descricao), c.Valor);
  }
}

TEST(RespostaCliente, ColumnsTheSystemDoesNotReadAreRefused) {
  struct Caso {
    const char* Rotulo;
    short Tipo;
    short Sqllen;
    short Escala;
    std::string Mensagem;
  };
  const Caso casos[] = {
      // An integer described shorter than its type: reading it whole would pass the buffer.
      {"bigint_in_4_bytes", SQL_INT64, 4, 0, "Invalid column length"},
      {"integer_in_2_bytes", SQL_LONG, 2, 0, "Invalid column length"},
      {"numeric", SQL_LONG, 4, -2, "Unsupported column type"},
      {"double", SQL_DOUBLE, 8, 0, "Unsupported column type"},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.Rotulo);
    Coluna coluna(c.Tipo, c.Sqllen, std::string(8, '\x7f'), c.Escala);
    const Erro e = teste::ErroLancado([&] { ValorColuna(coluna.Descricao); }, c.Rotulo);
    EXPECT_EQ(e.Classe(), "EIBClientError");
    EXPECT_EQ(e.Mensagem(), c.Mensagem);
  }
  // More columns than the descriptor holds would index past it; a negative count would wrap.
  for (const short descritas : {2, -1}) {
    XSQLDA saida{};
    saida.sqln = 1;
    saida.sqld = descritas;
    const Erro e = teste::ErroLancado([&] { ColunasDescritas(saida); }, "sqld out of range");
    EXPECT_EQ(e.Mensagem(), "Invalid column count");
  }
  // A negative length would size the buffer from a wrapped number.
  for (const short tipo : {SQL_TEXT, SQL_VARYING}) {
    XSQLVAR negativo{};
    negativo.sqltype = tipo;
    negativo.sqllen = -1;
    const Erro e = teste::ErroLancado([&] { TamanhoDados(negativo); }, "negative sqllen");
    EXPECT_EQ(e.Mensagem(), "Invalid column length");
  }
}

TEST(RespostaCliente, StatementTypeReadWithinTheAnswer) {
  // As the client answers: item 21, length 4, the type, isc_info_end; the rest of the buffer 0.
  const auto resposta = [](std::string_view AItem) {
    std::string r(AItem);
    r.resize(16, '\0');
    return r;
  };
  EXPECT_EQ(TipoComando(resposta("\x15\x04\x00\x01\x00\x00\x00\x01"sv)), isc_info_sql_stmt_select);
  EXPECT_EQ(TipoComando(resposta("\x15\x04\x00\x0c\x00\x00\x00\x01"sv)),
            isc_info_sql_stmt_select_for_upd);
  EXPECT_EQ(TipoComando(resposta("\x15\x02\x00\x02\x00\x01"sv)), isc_info_sql_stmt_insert);
  EXPECT_EQ(TipoComando("\x15\x01\x00\x05"sv), isc_info_sql_stmt_ddl);  // value at the very end

  const struct {
    const char* Rotulo;
    std::string Resposta;
  } falhas[] = {
      {"truncated", resposta("\x02"sv)},
      {"item_unknown", resposta("\x03\x01\x00\x01"sv)},
      {"nothing_written", resposta("")},
      {"empty", ""},
      {"length_zero", resposta("\x15\x00\x00"sv)},
      {"length_over_four", resposta("\x15\x08\x00\x01\x00\x00\x00\x00\x00\x00\x00"sv)},
      {"length_past_the_answer", "\x15\x04\x00\x01\x00"s},
      {"length_forged_to_the_maximum", resposta("\x15\xff\xff\x01"sv)},
  };
  for (const auto& f : falhas) {
    SCOPED_TRACE(f.Rotulo);
    const Erro e = teste::ErroLancado([&] { TipoComando(f.Resposta); }, f.Rotulo);
    EXPECT_EQ(e.Classe(), "EIBClientError");
  }
}

}  // namespace
}  // namespace tolvane
