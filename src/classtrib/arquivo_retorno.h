#pragma once

#include <string>
#include <string_view>

namespace tolvane {

// The bytes of the answer file for a service answer: the text ends at its first NUL; it is split
// into lines at each CR LF, lone CR and lone LF; every line is followed by CR LF; the whole is
// in the ANSI character set, without byte-order mark. No lines give no bytes.
std::string ConteudoArquivoRetorno(std::string_view AResposta);

// Saves the answer as the file ACaminho, replacing it as a whole: on failure the earlier file
// stays as it was. Raises Erro("EFCreateError", "Cannot create file \"<ACaminho>\". <system
// text>") or Erro("EWriteError", "Stream write error").
void SalvarArquivoRetorno(std::string_view AResposta, const std::string& ACaminho);

}  // namespace tolvane
