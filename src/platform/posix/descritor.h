#pragma once

#include <unistd.h>

namespace tolvane {

// A file descriptor, closed when it goes out of scope unless Fechar closed it already.
class Descritor {
 public:
  explicit Descritor(int AValor) : FValor(AValor) {}
  Descritor(Descritor&& AOutro) noexcept : FValor(AOutro.FValor) { AOutro.FValor = -1; }
  ~Descritor() {
    if (FValor >= 0) ::close(FValor);
  }
  Descritor(const Descritor&) = delete;
  Descritor& operator=(const Descritor&) = delete;
  Descritor& operator=(Descritor&&) = delete;

  int operator*() const { return FValor; }
  bool Valido() const { return FValor >= 0; }

  // Closes now and reports the result: on a network or full disk, close can be the first call
  // that sees a failed write.
  int Fechar() {
    const int r = ::close(FValor);
    FValor = -1;
    return r;
  }

 private:
  int FValor;
};

}  // namespace tolvane
