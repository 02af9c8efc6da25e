#include "platform/codificacao.h"

#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include <cerrno>
#include <cstring>

#include "core/utf8.h"

namespace tolvane {

namespace {

std::string ConjuntoLocal() {
  locale_t loc = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(nullptr));
  if (!loc) return "ANSI_X3.4-1968";
  std::string nome = nl_langinfo_l(CODESET, loc);
  freelocale(loc);
  return nome;
}

bool EhUtf8(const std::string& ANome) { return ANome == "UTF-8" || ANome == "utf8"; }

// Converts with iconv, one substitute for each unconvertible character.
std::string Converter(std::string_view ATexto, const char* APara, const char* ADe,
                      std::string_view ASubstituto) {
  iconv_t cd = iconv_open(APara, ADe);
  // iconv_open reports failure as (iconv_t)-1.
  if (cd == reinterpret_cast<iconv_t>(-1))  // NOLINT(performance-no-int-to-ptr)
    return std::string(ATexto);
  std::string r;
  char buf[4096];
  char* entrada = const_cast<char*>(ATexto.data());
  std::size_t restante = ATexto.size();
  while (restante > 0) {
    char* saida = buf;
    std::size_t livre = sizeof buf;
    const std::size_t rc = iconv(cd, &entrada, &restante, &saida, &livre);
    r.append(buf, static_cast<std::size_t>(saida - buf));
    if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
      // EILSEQ or EINVAL: skip one character of the input (from UTF-8, the maximal ill-formed
      // subpart, as the core's codec does).
      std::size_t pular = 1;
      if (std::strcmp(ADe, "UTF-8") == 0)
        pular = LerCaractereUtf8(std::string_view(entrada, restante), 0).Tamanho;
      entrada += pular;
      restante -= pular;
      r += ASubstituto;
    }
  }
  iconv_close(cd);
  return r;
}

}  // namespace

std::string ParaAnsi(std::string_view AUtf8) {
  const std::string conjunto = ConjuntoLocal();
  if (EhUtf8(conjunto)) return std::string(AUtf8);
  return Converter(AUtf8, conjunto.c_str(), "UTF-8", "?");
}

std::string DeAnsi(std::string_view AAnsi) {
  const std::string conjunto = ConjuntoLocal();
  if (EhUtf8(conjunto)) return Utf8Saneado(AAnsi);
  return Converter(AAnsi, "UTF-8", conjunto.c_str(), "\xEF\xBF\xBD");
}

}  // namespace tolvane
