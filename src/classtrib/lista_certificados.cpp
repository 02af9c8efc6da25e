#include "classtrib/lista_certificados.h"

#include "core/texto.h"
#include "platform/certificados.h"
#include "platform/codificacao.h"

namespace tolvane {

namespace {

constexpr std::size_t kMaximoBytesNome = 512;  // the buffer's 513 bytes less the final zero

}  // namespace

std::string NomeNoBufferAnsi(std::string_view ANome) {
  ANome = ANome.substr(0, ANome.find('\0'));
  std::string ansi = ParaAnsi(ANome);
  if (ansi.size() > kMaximoBytesNome) {
    // The longest prefix of whole characters whose ANSI form fits.
    std::size_t cabem = 0;
    std::size_t naoCabem = ContarCaracteres(ANome);
    while (naoCabem - cabem > 1) {
      const std::size_t meio = cabem + (naoCabem - cabem) / 2;
      if (ParaAnsi(PrimeirosCaracteres(ANome, meio)).size() <= kMaximoBytesNome)
        cabem = meio;
      else
        naoCabem = meio;
    }
    ansi = ParaAnsi(PrimeirosCaracteres(ANome, cabem));
  }
  return DeAnsi(ansi);
}

std::vector<std::string> ListarNomesCertificados() {
  std::vector<std::string> nomes;
  for (const auto& nome : NomesCertificadosPessoais()) nomes.push_back(NomeNoBufferAnsi(nome));
  return nomes;
}

}  // namespace tolvane
