#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>

namespace tolvane {

// Waits until the process APai is no longer this process's parent, at most ALimite. A parent that
// ends leaves its child to another process (init or a subreaper), so getppid() changes. True when
// that happened in time (or had happened before the call), false when the limit passed.
bool EsperarFimDoPai(pid_t APai, std::chrono::milliseconds ALimite);

// The parent's process id when the parent runs the file ACaminhoExecutavel (the same file, by
// device and inode, whatever the path's spelling). No value when the parent runs another program,
// which is what an updater sees when its starter has ended before it looked: it was adopted. When
// the parent's program cannot be read (/proc hidden), the parent is taken for the starter, unless
// it is init.
std::optional<pid_t> PaiExecutando(const std::string& ACaminhoExecutavel);

}  // namespace tolvane
