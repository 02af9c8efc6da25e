#!/usr/bin/env bash
# The throw-away Wine prefix that the Windows suites run in, with a display of its own:
#   prefixo.sh iniciar <state folder> <folder of the builtin DLLs>
#       makes <state folder>/prefixo (Brazilian Portuguese, ANSI code page 1252, its user folders
#       real folders instead of links to $HOME), starts an Xvfb for it and a wineserver kept
#       warm, and writes <state folder>/ambiente (plain exports, which the Python drivers read
#       too), which cmake/wine-emulador.sh reads
#   prefixo.sh parar <state folder>
#       ends the prefix's wineserver and its display, and removes the prefix
# Debian 12 packages: wine64 xvfb.
set -euo pipefail

WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver

falhar() {
  echo "prefixo.sh: $*" >&2
  exit 1
}

parar() {
  local estado=$1
  if [ -d "$estado/prefixo" ]; then
    WINEPREFIX=$estado/prefixo "$WINESERVER" -k </dev/null >/dev/null 2>&1 || true
  fi
  if [ -f "$estado/xvfb.pid" ]; then
    kill "$(cat "$estado/xvfb.pid")" 2>/dev/null || true
    rm -f "$estado/xvfb.pid"
  fi
  rm -rf "$estado/prefixo" "$estado/ambiente" "$estado/saidas"
}

iniciar() {
  local estado=$1 dlls=$2
  [ -x "$WINE" ] || falhar "$WINE missing (package wine64)"
  command -v Xvfb >/dev/null || falhar "Xvfb missing (package xvfb)"
  parar "$estado"
  mkdir -p "$estado"

  # A display of the prefix's own, on a number away from the usual ones (a desktop's :0, the
  # lowest free numbers that other Xvfb runs take): two servers on one number take each other's
  # socket. Xvfb writes the number when it is ready.
  rm -f "$estado/tela"
  local numero
  for numero in $(shuf -i 200-899 -n 40); do
    [ -e "/tmp/.X$numero-lock" ] || [ -e "/tmp/.X11-unix/X$numero" ] || break
  done
  Xvfb ":$numero" -displayfd 3 -nolisten tcp -screen 0 1280x1024x24 3>"$estado/tela" </dev/null \
    >"$estado/xvfb.log" 2>&1 &
  echo $! >"$estado/xvfb.pid"
  for _ in $(seq 100); do [ -s "$estado/tela" ] && break; sleep 0.1; done
  [ -s "$estado/tela" ] || falhar "Xvfb did not start: $(cat "$estado/xvfb.log")"

  # Wine takes the user's locale from LC_MESSAGES: LANG alone, for a Brazilian user.
  cat >"$estado/ambiente" <<FIM
unset LANGUAGE \${!LC_*}
export LANG=pt_BR.UTF-8
export WINEPREFIX='$estado/prefixo'
export WINEDEBUG=-all
export WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d'
export WINEDLLPATH='$dlls'
export DISPLAY=:$(cat "$estado/tela")
FIM
  # shellcheck source=/dev/null
  source "$estado/ambiente"
  local inicio=$SECONDS
  "$WINE" wineboot -i </dev/null >"$estado/wineboot.log" 2>&1 ||
    falhar "wineboot failed: $(cat "$estado/wineboot.log")"
  "$WINESERVER" -w </dev/null >/dev/null 2>&1
  [ -f "$WINEPREFIX/system.reg" ] || falhar "wineboot made no prefix: $(cat "$estado/wineboot.log")"
  # After wineboot the user's Desktop, Documents, ... are links to $HOME: the suites write there.
  local pasta
  for pasta in "$WINEPREFIX/drive_c/users/$(id -un)"/*; do
    if [ -L "$pasta" ]; then
      rm "$pasta"
      mkdir "$pasta"
    fi
  done
  # Kept warm between the test programs, for a minute after the last one.
  "$WINESERVER" -p 60 </dev/null >/dev/null 2>&1
  echo "Wine prefix $WINEPREFIX on display $DISPLAY, made in $((SECONDS - inicio)) s"
}

case ${1:-} in
  iniciar)
    [ $# -eq 3 ] || falhar "usage: $0 iniciar <state folder> <folder of the builtin DLLs>"
    iniciar "$2" "$3"
    ;;
  parar)
    [ $# -eq 2 ] || falhar "usage: $0 parar <state folder>"
    parar "$2"
    ;;
  *) falhar "usage: $0 iniciar|parar ..." ;;
esac
