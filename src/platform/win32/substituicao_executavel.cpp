#include "platform/substituicao_executavel.h"

#include "core/erro.h"

namespace tolvane {

// Not written for Windows yet (a CREATE_NEW copy beside the target, SetFileTime, FlushFileBuffers
// and MoveFileExW with MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH).
void SubstituirExecutavel(const std::string&, const std::string&, const std::string&) {
  throw ErroNaoDisponivel("SubstituirExecutavel");
}

}  // namespace tolvane
