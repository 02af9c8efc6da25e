#include "database/cliente_firebird.h"

#include <cstring>
#include <memory>
#include <mutex>

#include "platform/biblioteca.h"
#include "platform/codificacao.h"
#include "platform/nomes.h"

namespace tolvane {

namespace {

template <class F>
void Resolver(const Biblioteca& ABiblioteca, const char* ANome, F& AFuncao) {
  AFuncao = ABiblioteca.Funcao<F>(ANome);
  if (!AFuncao)
    throw ErroClienteInterBase(std::string("Function ") + ANome +
                               " not found in InterBase library " + kBibliotecaFirebird);
}

ClienteFirebird ResolverFuncoes(const Biblioteca& B) {
  ClienteFirebird c;
  Resolver(B, "isc_attach_database", c.isc_attach_database);
  Resolver(B, "isc_detach_database", c.isc_detach_database);
  Resolver(B, "isc_start_multiple", c.isc_start_multiple);
  Resolver(B, "isc_commit_retaining", c.isc_commit_retaining);
  Resolver(B, "isc_commit_transaction", c.isc_commit_transaction);
  Resolver(B, "isc_rollback_transaction", c.isc_rollback_transaction);
  Resolver(B, "isc_dsql_allocate_statement", c.isc_dsql_allocate_statement);
  Resolver(B, "isc_dsql_prepare", c.isc_dsql_prepare);
  Resolver(B, "isc_dsql_describe", c.isc_dsql_describe);
  Resolver(B, "isc_dsql_sql_info", c.isc_dsql_sql_info);
  Resolver(B, "isc_dsql_execute", c.isc_dsql_execute);
  Resolver(B, "isc_dsql_execute2", c.isc_dsql_execute2);
  Resolver(B, "isc_dsql_fetch", c.isc_dsql_fetch);
  Resolver(B, "isc_dsql_free_statement", c.isc_dsql_free_statement);
  // fb_interpret came with Firebird 2.0; the clients before it have only isc_interprete.
  c.fb_interpret = B.Funcao<decltype(c.fb_interpret)>("fb_interpret");
  if (!c.fb_interpret) Resolver(B, "isc_interprete", c.isc_interprete);
  return c;
}

// isc_interprete writes into a buffer whose size it is not told, so the buffer is made large
// enough for any message of the status vector at hand. The clients from 2.0 on take the buffer
// to be 1024 bytes or twice their longest path name (8 KiB at most) and write no more. The older
// ones put the vector's arguments into a template looked up into 128 bytes or one of their own
// (each string argument whole, each number in at most 20 digits), or copy an interpreted string
// whole, or write the system's text for an OS error code. So kFolgaMensagem, for the template,
// the numbers and the system's text, plus the length of every string argument bounds every
// message. fb_interpret is given the same size, so it cuts no message short either.
constexpr std::size_t kFolgaMensagem = 8192;

std::size_t TamanhoMensagem(const ISC_STATUS* AStatus) {
  std::size_t n = kFolgaMensagem;
  for (const ISC_STATUS* p = AStatus; *p != isc_arg_end;) {
    switch (*p) {
      case isc_arg_string:
      case isc_arg_interpreted:
      case isc_arg_sql_state:
        // The vector holds a string argument's address as an ISC_STATUS.
        if (const auto* texto =
                reinterpret_cast<const char*>(p[1]))  // NOLINT(performance-no-int-to-ptr)
          n += std::strlen(texto);
        p += 2;
        break;
      case isc_arg_cstring:
        n += static_cast<std::size_t>(p[1]);
        p += 3;
        break;
      default:
        p += 2;
    }
  }
  return n;
}

std::vector<ISC_STATUS> Codigos(const ISC_STATUS* AStatus) {
  std::vector<ISC_STATUS> r;
  for (const ISC_STATUS* p = AStatus; *p != isc_arg_end;) {
    if (*p == isc_arg_gds) r.push_back(p[1]);
    p += (*p == isc_arg_cstring) ? 3 : 2;
  }
  return r;
}

}  // namespace

const ClienteFirebird& CarregarClienteFirebird() {
  static std::mutex trava;
  static std::unique_ptr<Biblioteca> biblioteca;
  static ClienteFirebird cliente;
  const std::lock_guard<std::mutex> guarda(trava);
  if (biblioteca) return cliente;
  auto nova =
      std::make_unique<Biblioteca>(kBibliotecaFirebird, OrigemBiblioteca::ProgramaOuSistema);
  if (!nova->Carregada()) {
    std::string texto = std::string("InterBase library ") + kBibliotecaFirebird +
                        " not found in the path. Please install InterBase to use this "
                        "functionality";
    // The file may well be there, of the wrong kind: the user is told which one, and why.
    if (!nova->ArquivoInutilizavel().empty()) texto += "\r\n" + nova->ArquivoInutilizavel();
    throw ErroClienteInterBase(texto);
  }
  cliente = ResolverFuncoes(*nova);
  biblioteca = std::move(nova);
  return cliente;
}

std::string TextoStatus(const ClienteFirebird& ACliente, const ISC_STATUS* AStatus) {
  std::string mensagem(TamanhoMensagem(AStatus), '\0');
  const ISC_STATUS* p = AStatus;
  const auto interpretar = [&] {
    // isc_interprete keeps a non-const vector in its prototype for its old callers; it only
    // reads the vector and moves the pointer on.
    return ACliente.fb_interpret
               ? ACliente.fb_interpret(mensagem.data(), static_cast<unsigned>(mensagem.size()), &p)
               : ACliente.isc_interprete(mensagem.data(), const_cast<ISC_STATUS**>(&p));
  };
  std::string texto;
  while (interpretar() > 0) {
    if (!texto.empty() && texto.back() != '\n') texto += "\r\n";
    texto += mensagem.c_str();
  }
  if (!texto.empty() && texto.back() == '.') texto.pop_back();
  return DeAnsi(texto);
}

void VerificarStatus(const ClienteFirebird& ACliente, const ISC_STATUS* AStatus) {
  if (AStatus[0] == isc_arg_gds && AStatus[1] != 0)
    throw ErroInterBase(TextoStatus(ACliente, AStatus), Codigos(AStatus));
}

}  // namespace tolvane
