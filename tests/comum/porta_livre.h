#pragma once

namespace tolvane::teste {

// A port of 127.0.0.1 where nothing listens (taken from the system, then released).
int PortaLivre();

}  // namespace tolvane::teste
