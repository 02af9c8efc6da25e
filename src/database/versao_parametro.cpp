#include "database/versao_parametro.h"

#include <string>
#include <string_view>

#include "database/comando_sql.h"

namespace tolvane {

namespace {

// A text value in single quotes, inner single quotes doubled.
std::string Citar(std::string_view ATexto) {
  std::string r = "'";
  for (char c : ATexto) {
    r += c;
    if (c == '\'') r += '\'';
  }
  return r + "'";
}

// The ERP's statements keep their texts as they are, runs of blanks included.
std::string TestePresenca(std::string_view ACampo) {
  return " sELECT r.* FROM RDB$RELATION_fields r" + std::string(16, ' ') + "where" +
         std::string(48, ' ') + "r.RDB$relation_name =" + Citar("TAB_PARAMETRO") +
         " and  r.RDB$field_name = " + Citar(ACampo);
}

constexpr std::string_view kPrimeiraColuna = "alter table tab_parametro add script_rodado integer";
constexpr std::string_view kSegundaColuna = "alter table tab_parametro add VERSAO_ERP varchar(30)";
constexpr std::string_view kNumeroLog =
    " update tab_parametro a set a.script_rodado = (select max(a.no_log_atualizacao) from "
    "mov_log_atualizacao a)";

bool ExisteColuna(ComandoSql& AComando, std::string_view ACampo) {
  AComando.Executar(TestePresenca(ACampo));
  return !AComando.Eof();
}

void CriarColunas(ConexaoBanco& AConexao) {
  ComandoSql comando(AConexao);
  if (ExisteColuna(comando, "VERSAO_ERP")) return;
  // A database that has script_rodado already (from the ERP or an earlier failed run) keeps it
  // and its values: adding it again would fail at every start.
  const bool temScriptRodado = ExisteColuna(comando, "SCRIPT_RODADO");
  TransacaoBanco& transacao = *AConexao.TransacaoPadrao();
  if (!temScriptRodado) comando.Executar(kPrimeiraColuna);
  comando.Executar(kSegundaColuna);
  transacao.ConfirmarRetendo();
  if (!temScriptRodado) {
    comando.Executar(kNumeroLog);
    transacao.ConfirmarRetendo();
  }
  comando.Executar(" update tab_parametro a set a.VERSAO_ERP = " + Citar("Versao Inicial"));
  transacao.ConfirmarRetendo();
}

// Ends the default transaction with a commit (a rollback when the commit fails), so that no
// read-write transaction stays open all day and holds back the garbage collection of the ERP's
// database. The connection stays open.
void EncerrarTransacao(ConexaoBanco& AConexao, bool ARelatarFalha) {
  TransacaoBanco* transacao = AConexao.TransacaoPadrao();
  if (!transacao || !transacao->Ativa()) return;
  try {
    transacao->Confirmar();
  } catch (const Erro&) {
    try {
      transacao->Desfazer();
    } catch (const Erro&) {
    }
    if (ARelatarFalha) throw;
  }
}

}  // namespace

void VerificarVersaoParametro(ConexaoBanco& AConexao) {
  try {
    CriarColunas(AConexao);
  } catch (...) {
    EncerrarTransacao(AConexao, false);
    throw;
  }
  EncerrarTransacao(AConexao, true);
}

}  // namespace tolvane
