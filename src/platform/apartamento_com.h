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
  ~ApartamentoCom();
  ApartamentoCom(const ApartamentoCom&) = delete;
  ApartamentoCom& operator=(const ApartamentoCom&) = delete;

 private:
  bool FIniciado = false;
};

}  // namespace tolvane
