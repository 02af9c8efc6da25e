#include "platform/substituicao_arquivo.h"

#include "core/erro.h"
#include "platform/erro_sistema.h"
#include "platform/win32/arquivo_temporario.h"

namespace tolvane {

namespace {

Erro ErroCriacao(const std::string& ACaminho, DWORD ACodigo) {
  return ErroCriacaoArquivo(ACaminho, TextoErroSistema(static_cast<int>(ACodigo)));
}

}  // namespace

// Any file can be started by its name on Windows: AExecutavel changes nothing there.
void SubstituirArquivo(const std::string& ACaminho, std::string_view AConteudo, bool) {
  ArquivoTemporario temporario;
  if (const DWORD e = temporario.Criar(ACaminho)) throw ErroCriacao(ACaminho, e);
  if (temporario.Gravar(AConteudo.data(), AConteudo.size()) != 0 || temporario.Fechar() != 0)
    throw ErroEscritaFluxo();
  if (const DWORD e = temporario.ColocarNoLugar()) throw ErroCriacao(ACaminho, e);
}

}  // namespace tolvane
