#include "database/banco_dados.h"

#include "core/texto.h"
#include "database/parametros_firebird.h"
#include "platform/codificacao.h"

namespace tolvane {

namespace {

// The transaction existence block of isc_start_multiple, as the client library reads it.
struct BlocoTransacao {
  isc_db_handle* Banco;
  int TamanhoTpb;
  const char* Tpb;
};

}  // namespace

ConexaoBanco::ConexaoBanco() : FCliente(CarregarClienteFirebird()) {}

ConexaoBanco::~ConexaoBanco() {
  if (FTransacao) {
    FTransacao->FConexao = nullptr;
    if (FTransacao->Ativa()) {
      ISC_STATUS_ARRAY status;
      if (FCliente.isc_rollback_transaction(status, FTransacao->Handle()) == 0)
        FTransacao->FHandle = 0;
    }
  }
  if (Aberta()) {
    ISC_STATUS_ARRAY status;
    FCliente.isc_detach_database(status, &FHandle);
  }
}

void ConexaoBanco::DefinirParametros(std::vector<std::string> AParametros) {
  FParametros = std::move(AParametros);
}

void ConexaoBanco::DefinirNomeBanco(std::string_view ANome) {
  FNomeBanco = std::string(AparaControles(ANome));
}

void ConexaoBanco::DefinirTransacaoPadrao(TransacaoBanco* ATransacao) {
  if (FTransacao && FTransacao != ATransacao && FTransacao->FConexao == this)
    FTransacao->FConexao = nullptr;
  FTransacao = ATransacao;
  if (FTransacao) FTransacao->FConexao = this;
}

void ConexaoBanco::Abrir() {
  if (Aberta()) return;
  if (FNomeBanco.empty()) throw ErroClienteInterBase("Database name is missing");
  const std::string dpb = MontarDpb(FParametros);
  const std::string nome = ParaAnsi(FNomeBanco);
  // A length of 0 tells the client to read a null-terminated name: for names beyond a short.
  const auto tamanho = static_cast<short>(nome.size() <= 32767 ? nome.size() : 0);
  ISC_STATUS_ARRAY status;
  isc_db_handle handle = 0;
  FCliente.isc_attach_database(status, tamanho, nome.c_str(), &handle,
                               static_cast<short>(dpb.size()), dpb.data());
  VerificarStatus(FCliente, status);
  FHandle = handle;
}

void ConexaoBanco::Fechar() {
  if (!Aberta()) return;
  if (FTransacao && FTransacao->Ativa()) {
    try {
      FTransacao->Confirmar();
    } catch (const Erro&) {
      ISC_STATUS_ARRAY status;
      if (FCliente.isc_rollback_transaction(status, FTransacao->Handle()) == 0)
        FTransacao->FHandle = 0;
    }
  }
  ISC_STATUS_ARRAY status;
  FCliente.isc_detach_database(status, &FHandle);
  FHandle = 0;
  VerificarStatus(FCliente, status);
}

TransacaoBanco::TransacaoBanco() : FCliente(CarregarClienteFirebird()) {}

TransacaoBanco::~TransacaoBanco() {
  if (FConexao && FConexao->FTransacao == this) FConexao->FTransacao = nullptr;
  if (Ativa()) {
    ISC_STATUS_ARRAY status;
    FCliente.isc_rollback_transaction(status, &FHandle);
  }
}

void TransacaoBanco::DefinirParametros(std::vector<std::string> AParametros) {
  FParametros = std::move(AParametros);
}

void TransacaoBanco::DefinirBancoPadrao(ConexaoBanco* AConexao) { FConexao = AConexao; }

void TransacaoBanco::ExigirAtiva() const {
  if (!Ativa()) throw ErroClienteInterBase("Transaction is not active");
}

void TransacaoBanco::Iniciar() {
  if (Ativa()) throw ErroClienteInterBase("Transaction is active");
  if (!FConexao || !FConexao->Aberta()) throw ErroClienteInterBase("Database not open");
  const std::string tpb = MontarTpb(FParametros);
  BlocoTransacao bloco{FConexao->Handle(), static_cast<int>(tpb.size()), tpb.data()};
  ISC_STATUS_ARRAY status;
  isc_tr_handle handle = 0;
  FCliente.isc_start_multiple(status, &handle, 1, &bloco);
  VerificarStatus(FCliente, status);
  FHandle = handle;
}

void TransacaoBanco::ConfirmarRetendo() {
  ExigirAtiva();
  ISC_STATUS_ARRAY status;
  FCliente.isc_commit_retaining(status, &FHandle);
  VerificarStatus(FCliente, status);
}

void TransacaoBanco::Confirmar() {
  ExigirAtiva();
  ISC_STATUS_ARRAY status;
  isc_tr_handle handle = FHandle;
  FCliente.isc_commit_transaction(status, &handle);
  VerificarStatus(FCliente, status);
  FHandle = 0;
}

void TransacaoBanco::Desfazer() {
  ExigirAtiva();
  ISC_STATUS_ARRAY status;
  isc_tr_handle handle = FHandle;
  FCliente.isc_rollback_transaction(status, &handle);
  VerificarStatus(FCliente, status);
  FHandle = 0;
}

void ConfigurarBancoDados(ConexaoBanco& AConexao, TransacaoBanco& ATransacao,
                          std::string_view AStringConexao) {
  AConexao.DefinirParametros({"user_name=sysdba", "password=quelvorin"});
  AConexao.DefinirNomeBanco(AStringConexao);
  ATransacao.DefinirBancoPadrao(&AConexao);
  ATransacao.DefinirParametros({"read_committed", "rec_version", "nowait"});
  AConexao.DefinirTransacaoPadrao(&ATransacao);
}

}  // namespace tolvane
