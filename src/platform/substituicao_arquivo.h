#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tolvane {

// Replaces the file ACaminho by one that holds exactly AConteudo, never leaving a half file: the
// bytes go to a new temporary file with a unique name in the same folder (created only if no
// file of that name exists, so nothing else is ever written through), which is flushed to the
// disk and then renamed over ACaminho. When AExecutavel, the new file is one the system starts
// as a program; otherwise it gets the access any new file gets. On any failure the earlier file
// at ACaminho is untouched, the temporary file is removed, and the error raised is
//  - ErroCriacaoArquivo ("EFCreateError", "Cannot create file \"<ACaminho>\". <system text>")
//    when the file cannot be created or put in place;
//  - ErroEscritaFluxo ("EWriteError", "Stream write error") when the bytes cannot all be
//    written or flushed.
void SubstituirArquivo(const std::string& ACaminho, std::string_view AConteudo,
                       bool AExecutavel = false);

// The name of a temporary file beside ACaminho for the replacement above: ".<name>.<8 hex
// digits of ANumero>.tmp" in ACaminho's folder ("." when it has none). UTF-8.
std::string NomeTemporarioAoLado(const std::string& ACaminho, std::uint32_t ANumero);

}  // namespace tolvane
