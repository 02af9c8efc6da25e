#pragma once

// One owner for every Win32 handle and COM object of the program, platform files and frontend
// alike: the handle, and the function that frees it, fixed at compile time. Nothing is freed by
// hand.

#include <objbase.h>

#include <memory>
#include <type_traits>

namespace tolvane {

template <typename H, auto ALiberar>
struct LiberarHandle {
  using pointer = H;
  void operator()(H AHandle) const noexcept {
    if (AHandle) ALiberar(AHandle);
  }
};

template <typename H, auto ALiberar>
using HandleUnico = std::unique_ptr<std::remove_pointer_t<H>, LiberarHandle<H, ALiberar>>;

// A kernel object (a file, a process): closed when it goes. A file that CreateFileW could not open
// is INVALID_HANDLE_VALUE, which is never given to this owner.
using HandleKernelUnico = HandleUnico<HANDLE, CloseHandle>;

// A COM interface pointer, released once.
struct LiberarCom {
  void operator()(IUnknown* AObjeto) const noexcept { AObjeto->Release(); }
};
template <typename T>
using ComUnico = std::unique_ptr<T, LiberarCom>;

}  // namespace tolvane
