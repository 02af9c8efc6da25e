#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tolvane {

// Replaces the file ACaminho by one that holds exactly AConteudo, never leaving a half file: the
// bytes go to a new temporary file in the same folder, which is forced to disk and then renamed
// over ACaminho. The new file's permission bits are AModo when given, else those of any new file
// (0666 less the user's umask). On any failure the earlier file at ACaminho is untouched, the
// temporary file is removed, and the error raised is
//  - Erro("EFCreateError", "Cannot create file \"<ACaminho>\". <system text>") when the file
//    cannot be created or put in place;
//  - Erro("EWriteError", "Stream write error") when the bytes cannot all be written or flushed.
void SubstituirArquivo(const std::string& ACaminho, std::string_view AConteudo,
                       std::optional<unsigned> AModo = std::nullopt);

}  // namespace tolvane
