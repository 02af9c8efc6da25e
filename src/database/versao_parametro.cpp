#include "database/versao_parametro.h"

#include <chrono>
#include <random>
#include <string>
#include <string_view>
#include <thread>

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

// Another workstation adding the same columns at the same moment: its catalog rows, committed
// after this step looked or not committed yet, make the ALTER fail on the catalog's unique key,
// or the commit on a lock.
bool EhCorridaNoCatalogo(const ErroInterBase& AErro) {
  for (ISC_STATUS codigo : AErro.Codigos())
    if (codigo == isc_unique_key_violation || codigo == isc_lock_conflict ||
        codigo == isc_deadlock || codigo == isc_update_conflict || codigo == isc_obj_in_use)
      return true;
  return false;
}

// Tries of the column step when it loses that race, and the pause before each next one: doubled
// every time, with a jitter so that two losers do not meet again; about 3 s in all.
constexpr int kTentativas = 7;

std::chrono::milliseconds PausaAntesDaTentativa(int ATentativa) {
  static std::minstd_rand sorteio(std::random_device{}());
  return std::chrono::milliseconds((50 << (ATentativa - 2)) + sorteio() % 50);
}

// Adds the missing columns, committed together; false when VERSAO_ERP is there already.
// AAdicionouScriptRodado tells whether this call added script_rodado.
bool AdicionarColunas(ConexaoBanco& AConexao, ComandoSql& AComando, bool& AAdicionouScriptRodado) {
  if (ExisteColuna(AComando, "VERSAO_ERP")) return false;
  // A database that has script_rodado already (from the ERP or an earlier failed run) keeps it
  // and its values: adding it again would fail at every start.
  AAdicionouScriptRodado = !ExisteColuna(AComando, "SCRIPT_RODADO");
  if (AAdicionouScriptRodado) AComando.Executar(kPrimeiraColuna);
  AComando.Executar(kSegundaColuna);
  AConexao.TransacaoPadrao()->ConfirmarRetendo();
  return true;
}

void CriarColunas(ConexaoBanco& AConexao) {
  ComandoSql comando(AConexao);
  TransacaoBanco& transacao = *AConexao.TransacaoPadrao();
  bool adicionouScriptRodado = false;
  // A copy that lost the race undoes its try and looks at the catalog again, in a new
  // transaction: the winner's columns there make this a normal start.
  for (int tentativa = 1;; ++tentativa) {
    try {
      if (!AdicionarColunas(AConexao, comando, adicionouScriptRodado)) return;
      break;
    } catch (const ErroInterBase& e) {
      if (!EhCorridaNoCatalogo(e) || tentativa == kTentativas) throw;
      try {
        transacao.Desfazer();
      } catch (const Erro&) {
        throw e;
      }
    }
    std::this_thread::sleep_for(PausaAntesDaTentativa(tentativa + 1));
  }
  if (adicionouScriptRodado) {
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
