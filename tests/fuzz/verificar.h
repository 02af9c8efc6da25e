// How a fuzz target reports a broken property: the reason on stderr, then an abort, which
// libFuzzer records as a crash together with the input that caused it.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>

#include <stdlib.h>

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

// The character sets an input is tried in where it passes the conversion to or from the ANSI
// code page: UTF-8, as on the workstations, where the conversion only cleans the text, and ASCII
// (the C locale), where iconv converts and every byte above 127 has to be replaced.
inline constexpr const char* kConjuntos[] = {"C.UTF-8", "C"};

// The conversions read the character set from the environment (LC_ALL, LC_CTYPE, LANG) at each
// call, as the program does, not from the process's locale.
inline void UsarConjunto(const char* ALocale) { setenv("LC_ALL", ALocale, 1); }

}  // namespace tolvane::fuzz
