#pragma once

namespace tolvane {

// The thread's single-threaded COM apartment, for as long as the object lives: the shell link
// (platform/atalho.h) is a COM object and needs one on the thread that writes it. Each program
// holds one on its main thread from its start. Windows: CoInitializeEx with
// COINIT_APARTMENTTHREADED, and CoUninitialize at the end when the initialisation succeeded
// (also when the thread had one already); Linux: nothing to do.
class ApartamentoCom {
 public:
  ApartamentoCom();
  // Defined by each system: on Windows it ends the apartment, so it cannot be trivial there.
  ~ApartamentoCom();  // NOLINT(performance-trivially-destructible)
  ApartamentoCom(const ApartamentoCom&) = delete;
  ApartamentoCom& operator=(const ApartamentoCom&) = delete;

 private:
  [[maybe_unused]] bool FIniciado = false;  // read by the Windows implementation only
};

}  // namespace tolvane
