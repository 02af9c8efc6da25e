#include "database/resposta_cliente.h"

#include <algorithm>
#include <cstring>

#include "core/erro.h"
#include "platform/codificacao.h"

namespace tolvane {

namespace {

// A little-endian number, as the client's info answers hold them.
unsigned LittleEndian(std::string_view ABytes) {
  unsigned valor = 0;
  for (std::size_t i = ABytes.size(); i > 0; --i)
    valor = (valor << 8) | static_cast<unsigned char>(ABytes[i - 1]);
  return valor;
}

}  // namespace

std::size_t ColunasDescritas(const XSQLDA& ASaida) {
  if (ASaida.sqld < 0 || ASaida.sqld > ASaida.sqln)
    throw ErroClienteInterBase("Invalid column count");
  return static_cast<std::size_t>(ASaida.sqld);
}

std::size_t TamanhoDados(const XSQLVAR& AColuna) {
  if (AColuna.sqllen < 0) throw ErroClienteInterBase("Invalid column length");
  const std::size_t extra = (AColuna.sqltype & ~1) == SQL_VARYING ? sizeof(short) : 0;
  return static_cast<std::size_t>(AColuna.sqllen) + extra;
}

std::optional<std::string> ValorColuna(const XSQLVAR& AColuna) {
  if ((AColuna.sqltype & 1) && *AColuna.sqlind < 0) return std::nullopt;
  const char* dados = AColuna.sqldata;
  const auto sqllen = static_cast<std::size_t>(std::max<short>(AColuna.sqllen, 0));
  const auto inteiro = [&](auto AValor) {
    if (sqllen != sizeof AValor) throw ErroClienteInterBase("Invalid column length");
    std::memcpy(&AValor, dados, sizeof AValor);
    return std::to_string(AValor);
  };
  switch (AColuna.sqltype & ~1) {
    case SQL_TEXT:
      return DeAnsi(std::string_view(dados, sqllen));
    case SQL_VARYING: {
      unsigned short tamanho = 0;
      std::memcpy(&tamanho, dados, sizeof tamanho);
      return DeAnsi(
          std::string_view(dados + sizeof tamanho, std::min<std::size_t>(tamanho, sqllen)));
    }
    case SQL_SHORT:
      if (AColuna.sqlscale == 0) return inteiro(short{});
      break;
    case SQL_LONG:
      if (AColuna.sqlscale == 0) return inteiro(ISC_LONG{});
      break;
    case SQL_INT64:
      if (AColuna.sqlscale == 0) return inteiro(ISC_INT64{});
      break;
  }
  throw ErroClienteInterBase("Unsupported column type");
}

int TipoComando(std::string_view AResposta) {
  if (AResposta.size() < 3 || AResposta[0] != isc_info_sql_stmt_type)
    throw ErroClienteInterBase("Statement type missing from the client's answer");
  const unsigned tamanho = LittleEndian(AResposta.substr(1, 2));
  if (tamanho == 0 || tamanho > 4 || tamanho > AResposta.size() - 3)
    throw ErroClienteInterBase("Statement type of invalid length in the client's answer");
  return static_cast<int>(LittleEndian(AResposta.substr(3, tamanho)));
}

}  // namespace tolvane
