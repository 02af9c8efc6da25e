#pragma once

#include "platform/win32/utf16.h"

// After windows.h, which utf16.h includes.
#include <winhttp.h>

namespace tolvane {

// The functions of winhttp.dll that the HTTPS request calls, each typed by its prototype in
// winhttp.h (calling convention included) and resolved once, when the library loads. Nothing
// links against winhttp.dll: it is not one of the libraries Windows always takes from its own
// folder, so an import would be looked for beside the program first, in the ERP's folder that
// every user may write to. Loaded from the system folder only (OrigemBiblioteca::Sistema).
struct ClienteWinHttp {
  decltype(&::WinHttpOpen) WinHttpOpen = nullptr;
  decltype(&::WinHttpConnect) WinHttpConnect = nullptr;
  decltype(&::WinHttpOpenRequest) WinHttpOpenRequest = nullptr;
  decltype(&::WinHttpSetTimeouts) WinHttpSetTimeouts = nullptr;
  decltype(&::WinHttpSetOption) WinHttpSetOption = nullptr;
  decltype(&::WinHttpAddRequestHeaders) WinHttpAddRequestHeaders = nullptr;
  decltype(&::WinHttpSendRequest) WinHttpSendRequest = nullptr;
  decltype(&::WinHttpReceiveResponse) WinHttpReceiveResponse = nullptr;
  decltype(&::WinHttpQueryHeaders) WinHttpQueryHeaders = nullptr;
  decltype(&::WinHttpReadData) WinHttpReadData = nullptr;
  decltype(&::WinHttpCrackUrl) WinHttpCrackUrl = nullptr;
  decltype(&::WinHttpCloseHandle) WinHttpCloseHandle = nullptr;
};

// winhttp.dll from the system folder, loaded on the first call and kept until the process ends.
// Throws Erro("EOleException", ...) naming the library and the reason when it cannot be loaded,
// or naming the function it lacks; a later call tries again.
const ClienteWinHttp& CarregarClienteWinHttp();

}  // namespace tolvane
