#pragma once

#include <string>
#include <string_view>

namespace tolvane {

// File operations of the update module, with the meaning the Windows calls give them. None of
// them throws; the ones whose outcome does not matter to the flow return nothing.

// Something that is not a folder exists at the path (links followed): FileExists.
bool ExisteArquivo(const std::string& ACaminho);

// A regular file exists at the path (links followed): what the updater accepts as the server's
// copy of the executable.
bool ExisteArquivoComum(const std::string& ACaminho);

// A folder exists at the path: DirectoryExists.
bool ExistePasta(const std::string& ACaminho);

// Creates the folder, one level only; the outcome is ignored.
void CriarPasta(const std::string& ACaminho);

// Deletes the file; a folder is never removed. The outcome is ignored: DeleteFile.
void ApagarArquivo(const std::string& ACaminho);

// Copies the file to a target that does not exist yet, keeping its last-write time as CopyFile
// does (the update module compares those times). Never replaces a file; the outcome is ignored.
// The target appears whole or not at all: the bytes go to a temporary file in the target's
// folder, which is then moved into place without replacing; after a failure nothing is left.
void CopiarArquivoNovo(const std::string& AOrigem, const std::string& ADestino);

}  // namespace tolvane
