#pragma once
// POSIX only: what a test must not do to its own process (give up rights, limit the size of
// files) is done in a forked child, which runs one action and reports how it ended.

#include <sys/resource.h>

#include <functional>
#include <string>

namespace tolvane::teste {

// Runs AAcao in a forked child. Returns "ok" when it raised nothing, "<class>|<message>" of the
// Erro it raised, "std::exception|<what>" for any other exception, and a sentence beginning
// "the child process" when it could not be run or did not end normally.
std::string NoProcessoFilho(const std::function<void()>& AAcao);

// In such a child: a write that would make any file larger than ABytes fails (EFBIG), as a full
// disk fails it, instead of the signal ending the process. Throws std::runtime_error when the
// limit cannot be set.
void LimitarTamanhoArquivos(rlim_t ABytes);

// In such a child: file permissions hold although the tests run as root on the build machines
// (the capabilities that bypass them are dropped). Throws std::runtime_error when they cannot be.
void ObedecerPermissoes();

}  // namespace tolvane::teste
