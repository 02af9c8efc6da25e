#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tolvane {

// The items of the certificate combo box (PreencherListaCertificados): the simple display name
// of every certificate of the current user's personal store, in the store's order, duplicates,
// expired certificates and certificates without a key included; each name as the 513-byte ANSI
// buffer gives it back (NomeNoBufferAnsi). Raises the store's Erro("EOSError", ...) when the
// store cannot be opened; the caller then leaves the box empty.
std::vector<std::string> ListarNomesCertificados();

// A name passed through the 8-bit name buffer of 513 bytes: cut at its first NUL, converted to
// the ANSI character set (characters it cannot hold become "?"), cut to at most 512 bytes at a
// character boundary, and converted back to UTF-8.
std::string NomeNoBufferAnsi(std::string_view ANome);

}  // namespace tolvane
