#include "platform/substituicao_arquivo.h"

#include "core/caminho.h"

namespace tolvane {

std::string NomeTemporarioAoLado(const std::string& ACaminho, std::uint32_t ANumero) {
  constexpr char kDigitos[] = "0123456789abcdef";
  std::string hexadecimal(8, '0');
  for (int i = 7; i >= 0; --i, ANumero >>= 4)
    hexadecimal[static_cast<std::size_t>(i)] = kDigitos[ANumero & 0xF];
  const std::filesystem::path caminho = CaminhoDe(ACaminho);
  const std::filesystem::path pasta =
      caminho.has_parent_path() ? caminho.parent_path() : std::filesystem::path(".");
  return TextoDe(pasta / CaminhoDe("." + TextoDe(caminho.filename()) + "." + hexadecimal + ".tmp"));
}

}  // namespace tolvane
