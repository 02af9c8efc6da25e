#include "database/parametros_firebird.h"

#include <gtest/gtest.h>

#include <string>

#include "comum/espera_teste.h"
#include "core/erro.h"
#include "database/cliente_firebird.h"
#include "platform/biblioteca.h"

namespace tolvane {
namespace {

using namespace std::literals;

// The blocks as the client's documentation lays them out: version, then item, length, bytes.
TEST(ParametrosFirebird, BlocksHoldExactlyTheSystemsItems) {
  EXPECT_EQ(MontarDpb({"user_name=sysdba", "password=quelvorin"}),
            "\x01\x1C\x06sysdba\x1D\x09quelvorin"sv);
  EXPECT_EQ(MontarDpb({"password= a=b "}), "\x01\x1D\x05 a=b "sv);  // after the first "="
  EXPECT_EQ(MontarDpb({}), "\x01"sv);
  EXPECT_EQ(MontarTpb({"read_committed", "rec_version", "nowait"}), "\x03\x0F\x11\x07"sv);
  for (const auto& mau : {"role=x", "sql_dialect=3"}) {
    {
      const Erro e = teste::ErroLancado([&] { MontarDpb({mau}); }, mau);
      EXPECT_EQ(e.Classe(), "EIBClientError") << mau;
    }
  }
  EXPECT_THROW(MontarDpb({"password=" + std::string(256, 'x')}), Erro);
  EXPECT_THROW(MontarTpb({"wait"}), Erro);
}

TEST(ParametrosFirebird, ClientLibraryLoadsOnceAtRunTime) {
  const ClienteFirebird& cliente = CarregarClienteFirebird();
  EXPECT_NE(cliente.isc_attach_database, nullptr);
  EXPECT_NE(cliente.fb_interpret, nullptr);
  EXPECT_EQ(&CarregarClienteFirebird(), &cliente);  // loaded once
}

}  // namespace
}  // namespace tolvane
