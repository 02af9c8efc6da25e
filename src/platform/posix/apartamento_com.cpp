#include "platform/apartamento_com.h"

namespace tolvane {

// No COM on Linux: the shortcut is a file written directly.
ApartamentoCom::ApartamentoCom() = default;
ApartamentoCom::~ApartamentoCom() = default;

}  // namespace tolvane
