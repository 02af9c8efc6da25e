#include "platform/nomes.h"

namespace tolvane {

extern const std::string_view kSufixoExecutavel = ".exe";
extern const char kSeparador = '\\';
extern const std::string_view kSeparadoresNome = "/\\:";
extern const bool kIniEmUtf16 = true;
extern const char* const kBibliotecaFirebird = "gds32.dll";

}  // namespace tolvane
