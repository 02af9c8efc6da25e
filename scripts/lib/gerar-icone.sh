#!/usr/bin/env bash
# Makes src/gui/recursos/icone.ico, the Windows program's icon (48 x 48, 256 colours), from
# icone.png beside it. Run it after changing icone.png and commit both (Debian: imagemagick).
set -euo pipefail
cd "$(dirname "$0")/../../src/gui/recursos"
/usr/bin/convert icone.png -colors 256 -type PaletteAlpha icone.ico
file icone.ico
