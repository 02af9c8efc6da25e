#pragma once

#include <functional>
#include <string>

namespace tolvane {

// Replaces APastaDestino/ANome by a copy of AOrigem, atomically: the copy is written to a
// temporary file in APastaDestino, given the source's modification and access times (to the
// system's finest unit) and, on Linux, the source's access rights, flushed to the disk, and
// renamed over the old file, so the folder holds either the whole old file or the whole new one.
// On Linux the copy is always executable and readable by its owner: a copy the user cannot start
// would leave him without his program. Group and others keep the source's read and execute
// rights, gain execute where they read, and never write it: only the owner may change a program
// that others run. On Windows it takes the folder's rights, as any new file there, and a running
// executable cannot be renamed over ("target in use").
//
// The source must be a regular file, symbolic links followed (the program's own test of the server
// copy); a folder or a device is refused. A source that changes while it is copied is refused too
// (the copy would mix two versions).
//
// AConferir, when given, is asked about the whole copy once it is on the disk and before it takes
// the old file's place, with the copy's path: an empty answer lets it in, any other text is the
// reason it is refused. The copy is what gets installed, so a source swapped after an earlier check
// of it is caught here.
//
// Throws Erro "EOSError" with a message that names the file and the cause (missing, unreadable,
// no space, folder read-only, target in use, refused by AConferir: its text). After a failure the
// old file is untouched and no temporary file is left in APastaDestino.
using ConferenciaCopia = std::function<std::string(const std::string& ACopia)>;
void SubstituirExecutavel(const std::string& AOrigem, const std::string& APastaDestino,
                          const std::string& ANome, const ConferenciaCopia& AConferir = nullptr);

}  // namespace tolvane
