#include "update/entrega_assinada.h"

#include <filesystem>
#include <optional>

#include "core/caminho.h"
#include "core/erro.h"
#include "platform/copia_privada.h"

namespace tolvane {

Entrega PrepararEntrega(const FontePublicador& AFonte, const std::string& AAtualizador,
                        const std::string& ACopiaServidor) {
  std::string copia;
  // A refused copy goes with its private folder.
  const auto apagarCopia = [&copia] {
    std::error_code ec;
    if (!copia.empty()) std::filesystem::remove_all(CaminhoDe(copia).parent_path(), ec);
  };
  try {
    const std::optional<Publicador> publicador = AFonte ? AFonte() : Publicador::DoProgramaAtual();
    if (!publicador) return {AAtualizador, {}};
    // The release first: it is refused more often, and then no copy is made.
    std::string recusa = publicador->Verificar(ACopiaServidor, ACopiaServidor);
    if (recusa.empty()) {
      copia = CopiarParaPastaPrivada(AAtualizador);
      recusa = publicador->Verificar(copia, AAtualizador);
    }
    if (recusa.empty()) return {copia, {}};
    apagarCopia();
    return {{}, recusa};
  } catch (const Erro& e) {
    apagarCopia();
    return {{}, e.Mensagem()};
  }
}

}  // namespace tolvane
