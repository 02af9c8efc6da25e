# A virtual display with a tray host for the end-to-end tests. Sourced; sets DISPLAY.

iniciar_tela() {
  local n
  for n in $(seq 90 120); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
  done
  Xvfb ":$n" -screen 0 1366x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  TELA_XVFB_PID=$!
  export DISPLAY=":$n"
  local i
  for i in $(seq 1 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  xdpyinfo >/dev/null 2>&1 || { echo "Xvfb did not start on $DISPLAY" >&2; return 1; }
  trayer --edge bottom --align right --widthtype pixel --width 120 --heighttype pixel --height 30 \
    --transparent false >/dev/null 2>&1 &
  TELA_TRAYER_PID=$!
  sleep 0.5
  echo "display $DISPLAY (Xvfb $TELA_XVFB_PID, trayer $TELA_TRAYER_PID)"
}

parar_tela() {
  [ -n "${TELA_TRAYER_PID:-}" ] && kill "$TELA_TRAYER_PID" 2>/dev/null || true
  [ -n "${TELA_XVFB_PID:-}" ] && kill "$TELA_XVFB_PID" 2>/dev/null || true
  wait 2>/dev/null || true
}
