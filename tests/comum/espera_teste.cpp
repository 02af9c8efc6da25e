#include "comum/espera_teste.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <thread>

#include "comum/arquivos_teste.h"
#include "core/caminho.h"

namespace tolvane::teste {

bool EsperarArquivo(const std::string& ACaminho, std::chrono::milliseconds ALimite) {
  const auto limite = std::chrono::steady_clock::now() + ALimite;
  std::error_code ec;
  while (!std::filesystem::exists(CaminhoDe(ACaminho), ec)) {
    if (std::chrono::steady_clock::now() >= limite) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

std::optional<std::string> LerQuandoPronto(const std::string& ACaminho,
                                           std::chrono::milliseconds ALimite) {
  const auto limite = std::chrono::steady_clock::now() + ALimite;
  if (!EsperarArquivo(ACaminho, ALimite)) return std::nullopt;
  for (;;) {
    try {
      return LerArquivo(ACaminho);
    } catch (const std::runtime_error&) {
      if (std::chrono::steady_clock::now() >= limite) return std::nullopt;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

Erro ErroLancado(const std::function<void()>& AAcao, const std::string& AContexto) {
  try {
    AAcao();
  } catch (const Erro& e) {
    return e;
  }
  ADD_FAILURE() << "no error raised" << (AContexto.empty() ? "" : ": ") << AContexto;
  return Erro("(nenhum)", "(nenhum erro)");
}

}  // namespace tolvane::teste
