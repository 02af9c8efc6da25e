#include "comum/variavel_ambiente.h"

#include <stdlib.h>

#ifdef _WIN32
#include "core/utf8.h"
#endif

namespace tolvane::teste {

namespace {

#ifdef _WIN32
std::wstring Largo(const std::string& AUtf8) {
  const std::u16string r = Utf16DeUtf8(AUtf8);
  return std::wstring(r.begin(), r.end());
}

// The C library's copy and the process's environment both; an empty value removes it.
void Definir(const std::string& ANome, const std::optional<std::string>& AValor) {
  _wputenv_s(Largo(ANome).c_str(), AValor ? Largo(*AValor).c_str() : L"");
}

std::optional<std::string> Ler(const std::string& ANome) {
  const wchar_t* valor = _wgetenv(Largo(ANome).c_str());
  if (!valor) return std::nullopt;
  const std::wstring_view v(valor);
  return Utf8DeUtf16(std::u16string(v.begin(), v.end()));
}
#else
void Definir(const std::string& ANome, const std::optional<std::string>& AValor) {
  if (AValor)
    setenv(ANome.c_str(), AValor->c_str(), 1);
  else
    unsetenv(ANome.c_str());
}

std::optional<std::string> Ler(const std::string& ANome) {
  const char* valor = getenv(ANome.c_str());
  return valor ? std::optional<std::string>(valor) : std::nullopt;
}
#endif

}  // namespace

VariavelAmbiente::VariavelAmbiente(std::string ANome, const std::optional<std::string>& AValor)
    : FNome(std::move(ANome)), FAnterior(Ler(FNome)) {
  Definir(FNome, AValor);
}

VariavelAmbiente::~VariavelAmbiente() { Definir(FNome, FAnterior); }

}  // namespace tolvane::teste
