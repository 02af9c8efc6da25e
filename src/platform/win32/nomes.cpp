#include "platform/nomes.h"

namespace tolvane {

extern const std::string_view kSufixoExecutavel = ".exe";
extern const char kSeparador = '\\';
extern const char* const kBibliotecaFirebird = "gds32.dll";

}  // namespace tolvane
