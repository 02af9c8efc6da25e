#include "platform/janelas.h"

#include "platform/win32/utf16.h"

namespace tolvane {

bool ExisteJanela(const std::string& AClasse, const std::string& ATitulo) {
  return FindWindowW(ParaUtf16(AClasse).c_str(), ParaUtf16(ATitulo).c_str()) != nullptr;
}

}  // namespace tolvane
