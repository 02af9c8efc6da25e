// The client's text for a real failed attach, through either of its message interpreters:
// fb_interpret, and isc_interprete, the only one the clients before Firebird 2.0 have, which is
// not told the size of its buffer.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "comum/arquivos_teste.h"
#include "comum/porta_livre.h"
#include "database/cliente_firebird.h"
#include "database/firebird_teste.h"
#include "database/parametros_firebird.h"
#include "platform/biblioteca.h"
#include "platform/codificacao.h"
#include "platform/nomes.h"

namespace tolvane {
namespace {

using teste::PastaTemporaria;

// The status vector of an attach with the system's login that the test expects to fail.
std::vector<ISC_STATUS> StatusAnexacao(const ClienteFirebird& ACliente, const std::string& ANome) {
  const std::string dpb = MontarDpb({"user_name=sysdba", "password=quelvorin"});
  const std::string nome = ParaAnsi(ANome);
  ISC_STATUS_ARRAY status;
  isc_db_handle handle = 0;
  ACliente.isc_attach_database(status, 0, nome.c_str(), &handle, static_cast<short>(dpb.size()),
                               dpb.data());
  if (handle) {
    ADD_FAILURE() << ANome << ": attached";
    ACliente.isc_detach_database(status, &handle);
  }
  return {std::begin(status), std::end(status)};
}

class InterpretadorFirebird : public teste::TesteFirebird {};

TEST_F(InterpretadorFirebird, EitherInterpreterGivesTheWholeTextOfARealFailure) {
  const ClienteFirebird& cliente = CarregarClienteFirebird();
  // The run against a client without fb_interpret (the tests' old gds32 bridge under Wine) says
  // so, so that it cannot pass on a newer client by mistake.
  const bool semFbInterpret = std::getenv("TOLVANE_TESTE_SEM_FB_INTERPRET") != nullptr;
  ASSERT_EQ(cliente.fb_interpret == nullptr, semFbInterpret);
  ASSERT_EQ(cliente.isc_interprete != nullptr, semFbInterpret);

  // The same client with isc_interprete in place of fb_interpret, where it has both.
  const Biblioteca biblioteca(kBibliotecaFirebird, OrigemBiblioteca::ProgramaOuSistema);
  std::optional<ClienteFirebird> antigo;
  if (!semFbInterpret) {
    antigo = cliente;
    antigo->fb_interpret = nullptr;
    antigo->isc_interprete = biblioteca.Funcao<decltype(antigo->isc_interprete)>("isc_interprete");
    ASSERT_NE(antigo->isc_interprete, nullptr) << biblioteca.ErroCarga();
  }

  PastaTemporaria pasta;
  // A path far longer than the 1024 bytes that the clients from 2.0 on take isc_interprete's
  // buffer to have: they cut its text there, and so give it whole only through fb_interpret.
  std::string pastas;
  for (char letra = 'a'; letra < 'g'; ++letra) pastas += std::string(200, letra) + "/";
  const std::string longo = pasta / (pastas + "FALTA.FDB");
  const std::string semPorta = "127.0.0.1/" + std::to_string(teste::PortaLivre()) + ":/x.fdb";
  const struct {
    const char* Rotulo;
    std::string Nome;
    std::string Texto;
  } casos[] = {
      {"missing file", pasta / "FALTA.FDB",
       "I/O error during \"open\" operation for file \"" + (pasta / "FALTA.FDB") +
           "\"\r\nError while trying to open file\r\nNo such file or directory"},
      {"server not listening", semPorta,
       "Unable to complete network request to host \"127.0.0.1\".\r\n"
       "Failed to establish a connection"},
      {"missing file under a long path", longo,
       "I/O error during \"open\" operation for file \"" + longo +
           "\"\r\nError while trying to open file\r\nNo such file or directory"},
  };
  for (const auto& c : casos) {
    const std::vector<ISC_STATUS> status = StatusAnexacao(cliente, c.Nome);
    EXPECT_EQ(TextoStatus(cliente, status.data()), c.Texto) << c.Rotulo;
    if (antigo && c.Nome != longo) {
      EXPECT_EQ(TextoStatus(*antigo, status.data()), c.Texto) << c.Rotulo << ", isc_interprete";
    }
  }
}

}  // namespace
}  // namespace tolvane
