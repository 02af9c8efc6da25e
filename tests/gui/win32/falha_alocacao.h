// An allocation that fails inside the code under test, as when memory runs out: the test
// program's own global operator new fails when told to.
#pragma once

namespace tolvane::teste {

// While it lives, the next allocation of this thread through operator new fails with
// std::bad_alloc; the ones after it succeed.
class FalhaAlocacao {
 public:
  FalhaAlocacao();
  ~FalhaAlocacao();
  FalhaAlocacao(const FalhaAlocacao&) = delete;
  FalhaAlocacao& operator=(const FalhaAlocacao&) = delete;

  // Whether the allocation has failed yet.
  bool Aconteceu() const;
};

}  // namespace tolvane::teste
