#include "platform/nomes.h"

#include "core/texto.h"

namespace tolvane {

std::string NomeAtualizador() { return "tolvaneAtualizador" + std::string(kSufixoExecutavel); }

std::string NomeMarcadorAtualizacao(std::string_view ANomeExecutavel) {
  std::string nome(ANomeExecutavel);
  if (kSufixoExecutavel.empty()) return "Exec-" + nome + ".ini";
  std::string r;
  std::size_t pos = 0;
  for (;;) {
    const std::size_t achado = nome.find(kSufixoExecutavel, pos);
    if (achado == std::string::npos) break;
    r += nome.substr(pos, achado - pos) + ".ini";
    pos = achado + kSufixoExecutavel.size();
  }
  r += nome.substr(pos);
  return "Exec-" + r;
}

std::string NomeSegundoMarcador(std::string_view ANomeExecutavel) {
  return "Exec-" + std::string(ANomeExecutavel);
}

std::string NomeMarcadorFalha(std::string_view ANomeExecutavel) {
  return "Exec-" + NomeSemSufixo(ANomeExecutavel) + ".falha";
}

std::string NomeSemSufixo(std::string_view ANomeExecutavel) {
  return std::string(SemUltimosCaracteres(ANomeExecutavel, ContarCaracteres(kSufixoExecutavel)));
}

std::string JuntarCaminho(std::string_view APasta, std::string_view ANome) {
  std::string r(APasta);
  if (!r.empty() && r.back() != '/' && r.back() != kSeparador) r += kSeparador;
  return r.append(ANome);
}

}  // namespace tolvane
