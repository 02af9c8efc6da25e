#pragma once

// Identifiers of the pictures compiled into tolvaneGestor.exe (tolvane.rc), shared by the
// resource compiler and the C++ code.

#define TOLVANE_ICONE_PROGRAMA 1
#define TOLVANE_LOGO 101
#define TOLVANE_SETA_BAIXO 102
#define TOLVANE_SETA_BAIXO_DESABILITADA 103
#define TOLVANE_OK 104
