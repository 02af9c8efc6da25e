#include "platform/nomes.h"

namespace tolvane {

extern const std::string_view kSufixoExecutavel = "";
extern const char kSeparador = '/';
extern const std::string_view kSeparadoresNome = "/";
extern const bool kIniEmUtf16 = false;
extern const char* const kBibliotecaFirebird = "libfbclient.so.2";

}  // namespace tolvane
