#include "platform/espera_programa.h"

#include "core/erro.h"

namespace tolvane {

// Not written for Windows yet (the process that started the updater would be found with a
// tool-help snapshot and waited for with WaitForSingleObject).
bool EsperarFimPrograma(const std::string&, std::chrono::milliseconds) {
  throw ErroNaoDisponivel("EsperarFimPrograma");
}

}  // namespace tolvane
