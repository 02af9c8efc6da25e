#pragma once

#include <ibase.h>

#include <string>
#include <vector>

#include "core/erro.h"

namespace tolvane {

// The functions of the Firebird client library (the classic ISC API) that the system calls, each
// typed by its prototype in ibase.h and resolved once, when the library loads. Nothing links
// against the library: it is loaded at run time. Every client from Firebird 1.5 on serves: the
// message interpreter is fb_interpret where the library has it (2.0 on), else isc_interprete;
// exactly one of the two is set.
struct ClienteFirebird {
  decltype(&::isc_attach_database) isc_attach_database = nullptr;
  decltype(&::isc_detach_database) isc_detach_database = nullptr;
  decltype(&::isc_start_multiple) isc_start_multiple = nullptr;
  decltype(&::isc_commit_retaining) isc_commit_retaining = nullptr;
  decltype(&::isc_commit_transaction) isc_commit_transaction = nullptr;
  decltype(&::isc_rollback_transaction) isc_rollback_transaction = nullptr;
  decltype(&::isc_dsql_allocate_statement) isc_dsql_allocate_statement = nullptr;
  decltype(&::isc_dsql_prepare) isc_dsql_prepare = nullptr;
  decltype(&::isc_dsql_describe) isc_dsql_describe = nullptr;
  decltype(&::isc_dsql_sql_info) isc_dsql_sql_info = nullptr;
  decltype(&::isc_dsql_execute) isc_dsql_execute = nullptr;
  decltype(&::isc_dsql_execute2) isc_dsql_execute2 = nullptr;
  decltype(&::isc_dsql_fetch) isc_dsql_fetch = nullptr;
  decltype(&::isc_dsql_free_statement) isc_dsql_free_statement = nullptr;
  decltype(&::fb_interpret) fb_interpret = nullptr;
// ibase.h marks isc_interprete deprecated for new code; it is the old clients' only interpreter.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  decltype(&::isc_interprete) isc_interprete = nullptr;
#pragma GCC diagnostic pop
};

// The client library kBibliotecaFirebird (platform/nomes.h), loaded on the first call and kept
// until the process ends. Throws Erro("EIBClientError", "InterBase library <file> not found in the
// path. Please install InterBase to use this functionality") when it cannot be loaded, followed
// by CR LF and a sentence naming the file found when it is one of the wrong kind (a library of
// the other architecture, or no library: Biblioteca::ArquivoInutilizavel); and an EIBClientError
// naming the function when the library lacks one. A later call tries again.
const ClienteFirebird& CarregarClienteFirebird();

// A failure reported by the client library: kind "EIBInterBaseError", the client's messages as
// text, and the ISC error codes of the status vector (isc_arg_gds entries, in order).
class ErroInterBase : public Erro {
 public:
  ErroInterBase(const std::string& AMensagem, std::vector<ISC_STATUS> ACodigos)
      : Erro("EIBInterBaseError", AMensagem), FCodigos(std::move(ACodigos)) {}

  const std::vector<ISC_STATUS>& Codigos() const noexcept { return FCodigos; }

 private:
  std::vector<ISC_STATUS> FCodigos;
};

// The client's messages for a status vector, one per message as its interpreter (fb_interpret or
// isc_interprete) gives them, whole however long: CR LF between two messages unless the text so
// far ends with a line feed, one period at the very end removed, no SQL code line. UTF-8 (the
// client's text is in the ANSI character set).
std::string TextoStatus(const ClienteFirebird& ACliente, const ISC_STATUS* AStatus);

// Throws ErroInterBase when the status vector holds an error; returns otherwise.
void VerificarStatus(const ClienteFirebird& ACliente, const ISC_STATUS* AStatus);

}  // namespace tolvane
