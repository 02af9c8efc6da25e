#pragma once

#include "database/banco_dados.h"

namespace tolvane {

// Makes sure the ERP's parameter table TAB_PARAMETRO carries its two version columns. When
// VERSAO_ERP is absent it adds the missing columns, sets script_rodado (when this step added
// it) to the highest NO_LOG_ATUALIZACAO of MOV_LOG_ATUALIZACAO and VERSAO_ERP to "Versao
// Inicial" in every row; when VERSAO_ERP is present it writes nothing. Runs on the connection's
// default transaction, with a commit retaining after each group of changes, and ends that
// transaction with a commit when done, whether the step succeeded or not, so that no
// transaction stays open on the live database. Another workstation adding the columns at the
// same moment is no failure: the step that loses that race on the catalog looks again and, when
// the other's columns are there, writes nothing; it gives up after about 3 s of tries. Other
// failures go to the caller at once; what was committed before them stays.
void VerificarVersaoParametro(ConexaoBanco& AConexao);

}  // namespace tolvane
