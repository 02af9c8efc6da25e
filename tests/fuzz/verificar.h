// How a fuzz target reports a broken property: the reason on stderr, then an abort, which
// libFuzzer records as a crash together with the input that caused it.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace tolvane::fuzz {

[[noreturn]] inline void Falhar(const char* AMotivo, std::string_view ATexto = {}) {
  if (ATexto.empty())
    std::fprintf(stderr, "%s\n", AMotivo);
  else
    std::fprintf(stderr, "%s: '%.*s'\n", AMotivo, static_cast<int>(ATexto.size()), ATexto.data());
  std::abort();
}

inline void Verificar(bool ACondicao, const char* AFalha) {
  if (!ACondicao) Falhar(AFalha);
}

}  // namespace tolvane::fuzz
