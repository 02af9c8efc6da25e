#include "database/cliente_firebird.h"

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
  Resolver(B, "fb_interpret", c.fb_interpret);
  return c;
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
  auto nova = std::make_unique<Biblioteca>(kBibliotecaFirebird);
  if (!nova->Carregada())
    throw ErroClienteInterBase(std::string("InterBase library ") + kBibliotecaFirebird +
                               " not found in the path. Please install InterBase to use this "
                               "functionality");
  cliente = ResolverFuncoes(*nova);
  biblioteca = std::move(nova);
  return cliente;
}

std::string TextoStatus(const ClienteFirebird& ACliente, const ISC_STATUS* AStatus) {
  std::string texto;
  const ISC_STATUS* p = AStatus;
  char mensagem[1024];
  while (ACliente.fb_interpret(mensagem, sizeof mensagem, &p) > 0) {
    if (!texto.empty() && texto.back() != '\n') texto += "\r\n";
    texto += mensagem;
  }
  if (!texto.empty() && texto.back() == '.') texto.pop_back();
  return DeAnsi(texto);
}

void VerificarStatus(const ClienteFirebird& ACliente, const ISC_STATUS* AStatus) {
  if (AStatus[0] == isc_arg_gds && AStatus[1] != 0)
    throw ErroInterBase(TextoStatus(ACliente, AStatus), Codigos(AStatus));
}

}  // namespace tolvane
