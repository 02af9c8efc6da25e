#include "comum/espera_teste.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

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
