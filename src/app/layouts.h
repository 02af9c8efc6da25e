#pragma once

#include "app/layout.h"

namespace tolvane {

// The designed layouts of the system's three windows.
const LayoutJanela& LayoutFrmPrincipal();
const LayoutJanela& LayoutFrmSobre();
const LayoutJanela& LayoutFrmMensagemConfirmarGenerica();

}  // namespace tolvane
