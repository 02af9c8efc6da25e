#pragma once

#include <cstddef>
#include <string>

namespace tolvane::teste {

// An answer like the consultation service's: a UTF-8 JSON array of CST groups with their
// classifications, accented descriptions, an "Observacao" whose value holds a CR LF (escaped in
// the JSON), CR LF line breaks and a final CR LF; about ATamanho bytes.
std::string RespostaClassTribExemplo(std::size_t ATamanho = 240 * 1024);

}  // namespace tolvane::teste
