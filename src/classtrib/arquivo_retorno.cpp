#include "classtrib/arquivo_retorno.h"

#include "platform/codificacao.h"
#include "platform/substituicao_arquivo.h"

namespace tolvane {

std::string ConteudoArquivoRetorno(std::string_view AResposta) {
  const std::string_view texto = AResposta.substr(0, AResposta.find('\0'));
  std::string linhas;
  linhas.reserve(texto.size() + texto.size() / 16);
  std::size_t inicio = 0;
  while (inicio < texto.size()) {
    std::size_t fim = texto.find_first_of("\r\n", inicio);
    if (fim == std::string_view::npos) fim = texto.size();
    linhas.append(texto.substr(inicio, fim - inicio));
    linhas += "\r\n";
    if (fim == texto.size()) break;
    inicio = fim + 1;
    if (texto[fim] == '\r' && inicio < texto.size() && texto[inicio] == '\n') ++inicio;
  }
  return ParaAnsi(linhas);
}

void SalvarArquivoRetorno(std::string_view AResposta, const std::string& ACaminho) {
  SubstituirArquivo(ACaminho, ConteudoArquivoRetorno(AResposta));
}

}  // namespace tolvane
