#include "falha_alocacao.h"

#include <cstdlib>
#include <new>

namespace tolvane::teste {

namespace {

// Per thread: Wine's own threads in the process never fail.
thread_local bool tArmada = false;
thread_local bool tAconteceu = false;

}  // namespace

FalhaAlocacao::FalhaAlocacao() {
  tArmada = true;
  tAconteceu = false;
}

FalhaAlocacao::~FalhaAlocacao() { tArmada = false; }

bool FalhaAlocacao::Aconteceu() const { return tAconteceu; }

}  // namespace tolvane::teste

// The program's allocation functions, on malloc and free as the library's own; the array and
// nothrow forms of the library call these.
void* operator new(std::size_t ATamanho) {
  if (tolvane::teste::tArmada) {
    tolvane::teste::tArmada = false;
    tolvane::teste::tAconteceu = true;
    throw std::bad_alloc();
  }
  if (void* p = std::malloc(ATamanho ? ATamanho : 1)) return p;
  throw std::bad_alloc();
}

void operator delete(void* APonteiro) noexcept { std::free(APonteiro); }

void operator delete(void* APonteiro, std::size_t) noexcept { std::free(APonteiro); }
