#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "core/erro.h"

namespace tolvane::teste {

// Waits until the file exists, for a program started detached writes it when it writes it. The
// limit only bounds a hang; true when the file came in time.
bool EsperarArquivo(const std::string& ACaminho,
                    std::chrono::milliseconds ALimite = std::chrono::seconds(60));

// The content of a file that a program started detached writes, once it is there and can be
// opened: under Wine a file that another process has just moved into place can refuse to open
// for a moment (seen once, in a CI run). No value when it did not come within the limit.
std::optional<std::string> LerQuandoPronto(
    const std::string& ACaminho, std::chrono::milliseconds ALimite = std::chrono::seconds(60));

// The Erro that AAcao raises. When it raises none, the test fails (naming AContexto) and the
// result is an Erro of kind "(nenhum)", so that the checks that follow fail too rather than pass.
Erro ErroLancado(const std::function<void()>& AAcao, const std::string& AContexto = "");

}  // namespace tolvane::teste
