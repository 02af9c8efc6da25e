#pragma once

#include <string>
#include <string_view>

namespace tolvane {

// Replaces the file ACaminho by one that holds exactly AConteudo, never leaving a half file: the
// bytes go to a new temporary file in the same folder, which is forced to disk and then renamed
// over ACaminho. On any failure the earlier file at ACaminho is untouched, the temporary file is
// removed, and the error raised is
//  - Erro("EFCreateError", "Cannot create file \"<ACaminho>\". <system text>") when the file
//    cannot be created or put in place;
//  - Erro("EWriteError", "Stream write error") when the bytes cannot all be written or flushed.
void SubstituirArquivo(const std::string& ACaminho, std::string_view AConteudo);

}  // namespace tolvane
