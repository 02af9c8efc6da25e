#pragma once

#include "platform/win32/utf16.h"

// After windows.h, which utf16.h includes.
#include <wincrypt.h>
#include <wintrust.h>

namespace tolvane {

// The functions of wintrust.dll that check a file's Authenticode signature, each typed by its
// prototype in wintrust.h and resolved once, when the library loads. Nothing links against it:
// wintrust.dll is not one of the libraries Windows always takes from its own folder, so an import
// would be looked for beside the program first, in a folder every user of the ERP may write to.
// Loaded from the system folder only (OrigemBiblioteca::Sistema).
struct ClienteWintrust {
  decltype(&::WinVerifyTrust) WinVerifyTrust = nullptr;
  decltype(&::WTHelperProvDataFromStateData) WTHelperProvDataFromStateData = nullptr;
  decltype(&::WTHelperGetProvSignerFromChain) WTHelperGetProvSignerFromChain = nullptr;
};

// wintrust.dll from the system folder, loaded on the first call and kept until the process ends.
// Throws Erro("EOSError", ...) naming the library and the reason when it cannot be loaded, or
// naming the function it lacks; a later call tries again.
const ClienteWintrust& CarregarClienteWintrust();

}  // namespace tolvane
