#include "platform/perfil.h"

// Temporary reader for the update branch only; the platform's full private-profile reader
// replaces this file.

#include <cctype>
#include <fstream>
#include <string_view>

namespace tolvane {

namespace {

std::string_view Aparar(std::string_view ATexto) {
  while (!ATexto.empty() && (ATexto.front() == ' ' || ATexto.front() == '\t'))
    ATexto.remove_prefix(1);
  while (!ATexto.empty() &&
         (ATexto.back() == ' ' || ATexto.back() == '\t' || ATexto.back() == '\r'))
    ATexto.remove_suffix(1);
  return ATexto;
}

bool IguaisSemCaixa(std::string_view A, std::string_view B) {
  if (A.size() != B.size()) return false;
  for (std::size_t i = 0; i < A.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(A[i])) !=
        std::tolower(static_cast<unsigned char>(B[i])))
      return false;
  return true;
}

}  // namespace

std::string LerPerfil(const std::string& AArquivo, const std::string& ASecao,
                      const std::string& AChave) {
  std::ifstream arquivo(AArquivo, std::ios::binary);
  bool naSecao = false;
  bool primeira = true;
  for (std::string linha; std::getline(arquivo, linha); primeira = false) {
    std::string_view l = linha;
    if (primeira && l.starts_with("\xEF\xBB\xBF")) l.remove_prefix(3);
    l = Aparar(l);
    if (l.starts_with('[')) {
      const auto fim = l.find(']');
      naSecao =
          fim != std::string_view::npos && IguaisSemCaixa(Aparar(l.substr(1, fim - 1)), ASecao);
      continue;
    }
    const auto igual = l.find('=');
    if (!naSecao || igual == std::string_view::npos ||
        !IguaisSemCaixa(Aparar(l.substr(0, igual)), AChave))
      continue;
    std::string_view valor = Aparar(l.substr(igual + 1));
    if (valor.size() >= 2 && (valor.front() == '"' || valor.front() == '\'') &&
        valor.back() == valor.front())
      valor = valor.substr(1, valor.size() - 2);
    return std::string(valor);
  }
  return {};
}

}  // namespace tolvane
