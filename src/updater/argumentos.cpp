#include "updater/argumentos.h"

#include <array>
#include <optional>
#include <string_view>

#include "core/erro.h"
#include "core/texto.h"
#include "platform/nomes.h"

namespace tolvane {

namespace {

// The tags in the order of the command line, with what each one carries.
constexpr std::array<char, 4> kEtiquetas = {'F', 'M', 'E', 'A'};
constexpr std::array<const char*, 4> kDescricoes = {
    "o modo", "a pasta de atualização", "a pasta do executável", "o nome do executável"};

[[noreturn]] void Recusar(const std::string& AMensagem) { throw ErroParametro(AMensagem); }

std::vector<std::string> Fichas(const std::vector<std::string>& AArgumentos) {
  std::vector<std::string> r;
  if (AArgumentos.size() != 1) {
    for (const auto& a : AArgumentos) r.emplace_back(AparaControles(a));
    return r;
  }
  const std::string_view linha = AparaControles(AArgumentos.front());
  std::size_t inicio = 0;
  while (inicio <= linha.size()) {
    std::size_t fim = linha.find(' ', inicio);
    if (fim == std::string_view::npos) fim = linha.size();
    const std::string_view pedaco = linha.substr(inicio, fim - inicio);
    if (r.empty() || (!pedaco.empty() && pedaco.front() == '@'))
      r.emplace_back(pedaco);
    else
      r.back().append(" ").append(pedaco);
    inicio = fim + 1;
  }
  for (auto& f : r) f = std::string(AparaControles(f));
  return r;
}

}  // namespace

ArgumentosAtualizador LerArgumentos(const std::vector<std::string>& AArgumentos) {
  std::array<std::optional<std::string>, kEtiquetas.size()> valores;
  for (const auto& ficha : Fichas(AArgumentos)) {
    if (ficha.empty()) continue;
    std::size_t i = 0;
    while (i < kEtiquetas.size() &&
           !(ficha.size() >= 2 && ficha[0] == '@' && ficha[1] == kEtiquetas[i]))
      ++i;
    if (i == kEtiquetas.size())
      Recusar("Parâmetro desconhecido \"" + ficha + "\": as etiquetas são @F, @M, @E e @A.");
    if (valores[i])
      Recusar(std::string("A etiqueta @") + kEtiquetas[i] + " aparece mais de uma vez.");
    valores[i] = ficha.substr(2);
  }
  for (std::size_t i = 0; i < kEtiquetas.size(); ++i) {
    if (!valores[i])
      Recusar(std::string("Falta a etiqueta @") + kEtiquetas[i] + " com " + kDescricoes[i] + ".");
    if (i == 0 && *valores[0] != "1")
      Recusar("Modo desconhecido \"@F" + *valores[0] +
              "\": só o modo @F1 (substituir o executável e iniciá-lo de novo) existe.");
    if (valores[i]->empty())
      Recusar(std::string("A etiqueta @") + kEtiquetas[i] + " está sem " + kDescricoes[i] + ".");
  }

  ArgumentosAtualizador r{DecodificarBrancos(*valores[1]), DecodificarBrancos(*valores[2]),
                          *valores[3]};
  if (r.NomeExecutavel.find_first_of(kSeparadoresNome) != std::string::npos)
    Recusar("O nome do executável \"" + r.NomeExecutavel +
            "\" contém um separador de pastas: ele precisa ser o nome de um arquivo da pasta do "
            "executável.");
  if (r.NomeExecutavel == "." || r.NomeExecutavel == "..")
    Recusar("O nome do executável \"" + r.NomeExecutavel + "\" não é o nome de um arquivo.");
  return r;
}

}  // namespace tolvane
