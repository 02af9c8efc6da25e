#!/usr/bin/env bash
# CMAKE_CROSSCOMPILING_EMULATOR of the Windows cross-build:
#   wine-emulador.sh <state folder> <program.exe> [arguments...]
# runs the program with wine64 in the prefix that tests/wine/prefixo.sh made in the state folder,
# on that prefix's own display, and ends with the program's exit code. Wine's output goes to a
# file, never to a pipe: its services keep a pipe open after the program ends.
set -u
estado=$1
shift
if [ ! -f "$estado/ambiente" ]; then
  echo "wine-emulador.sh: no Wine prefix in $estado: run through ctest, whose fixture" \
    "PrefixoWine makes it (tests/wine/prefixo.sh)" >&2
  exit 1
fi
# shellcheck source=/dev/null
source "$estado/ambiente"
# A test that needs other builtin DLLs (the old client's bridge) names their folder.
if [ -n "${TOLVANE_WINEDLLPATH:-}" ]; then export WINEDLLPATH=$TOLVANE_WINEDLLPATH; fi
mkdir -p "$estado/saidas"
saida=$(mktemp "$estado/saidas/XXXXXX")
/usr/lib/wine/wine64 "$@" </dev/null >"$saida" 2>&1
codigo=$?
cat "$saida"
rm -f "$saida"
exit $codigo
