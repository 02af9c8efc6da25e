#include "platform/apartamento_com.h"

#include <objbase.h>

namespace tolvane {

// S_FALSE (the thread had an apartment already) counts too: every success is balanced by one
// CoUninitialize.
ApartamentoCom::ApartamentoCom()
    : FIniciado(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}

ApartamentoCom::~ApartamentoCom() {
  if (FIniciado) CoUninitialize();
}

}  // namespace tolvane
