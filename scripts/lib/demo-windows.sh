#!/usr/bin/env bash
# scripts/demo --windows [--nova-versao]: the Windows program under Wine, on the display of the
# desktop session, in the demo environment laid out in demo/windows/ (once):
#   estacao/                 tolvaneGestor.exe, the ERP's local INI, the tests' gds32 bridge
#   servidor/dados/          the ERP's server INI; the database lies in banco/ (a Linux path,
#                            which the bridge hands to the Linux Firebird client)
#   servidor/Update/         tolvaneAtualizador.exe and the current release
#   prefixo/                 the Wine prefix, with the demo service's CA in the user's "Root"
#                            store and the demo certificate in "MY"
# and the local HTTPS service that answers like the classification service.
set -euo pipefail
source "$(dirname "$0")/comum.sh"
cd "$RAIZ"

nova_versao=0
for arg in "$@"; do
  case "$arg" in
    --windows) ;;
    --nova-versao) nova_versao=1 ;;
    *) echo "usage: scripts/demo --windows [--nova-versao]" >&2; exit 2 ;;
  esac
done
if [ -z "${DISPLAY:-}" ]; then
  echo "No display (DISPLAY is not set): run scripts/demo inside a desktop session." >&2
  exit 1
fi

instalar_pacotes "${PACOTES_PROGRAMA[@]}" g++-mingw-w64-x86-64-posix wine64 wine64-tools python3 \
  googletest

# The 64-bit build, with the embedded engine of the Linux client behind the tests' bridge: the
# release is 32-bit, but Wine's 32-bit loader needs a machine that runs 32-bit code, and the i386
# client has no embedded engine. The windows and flows are the same sources.
echo "== build (windows-x64)"
cmake --preset windows-x64 >/dev/null
cmake --build --preset windows-x64 -j"$NUCLEOS" --target tolvaneGestor tolvaneAtualizador \
  tolvane_ponte_gds32 importar_certificados
B=$RAIZ/build/windows-x64

DEMO=$RAIZ/demo/windows
ESTACAO=$DEMO/estacao
DADOS=$DEMO/servidor/dados
UPDATE=$DEMO/servidor/Update
BANCO=$DEMO/banco
export FIREBIRD_LOCK=$DEMO/firebird-lock
mkdir -p "$ESTACAO" "$DADOS" "$UPDATE" "$BANCO" "$FIREBIRD_LOCK"
windows() { printf 'Z:%s' "${1//\//\\}"; }

echo "== demo environment in $DEMO"
scripts/lib/banco-demo.sh "$BANCO"
# The ERP's INI files as Windows writes them: CR LF, the ANSI code page.
printf '[IniServidor]\r\nnomearquivo=%s\r\n' "$(windows "$DADOS/servidor.ini")" |
  iconv -f UTF-8 -t CP1252 >"$ESTACAO/tolvaneempresa.ini"
printf '[Database]\r\nServidor=\r\npath=%s/\r\nname=DEMO.FDB\r\n' "$BANCO" |
  iconv -f UTF-8 -t CP1252 >"$DADOS/servidor.ini"
install -m 755 "$B/src/gui/win32/tolvaneGestor.exe" "$ESTACAO/tolvaneGestor.exe"
install -m 644 "$B/wine/gds32.dll" "$ESTACAO/gds32.dll"
install -m 755 "$B/src/updater/tolvaneAtualizador.exe" "$UPDATE/tolvaneAtualizador.exe"
cp -p "$ESTACAO/tolvaneGestor.exe" "$UPDATE/tolvaneGestor.exe"
if [ $nova_versao -eq 1 ]; then
  touch -d '+1 minute' "$UPDATE/tolvaneGestor.exe"
  echo "== a newer release is on the server: expect the notice and the hand-over"
fi

export WINEPREFIX=$DEMO/prefixo WINEDEBUG=-all WINEDLLPATH=$B/wine/dlls
export WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d'
unset LANGUAGE
export LANG=pt_BR.UTF-8
SERVICO=$DEMO/servico
tests/wine/servidor_https.sh iniciar "$SERVICO"
trap '"$RAIZ/tests/wine/servidor_https.sh" parar "$SERVICO"' EXIT
PORTA=$(cat "$SERVICO/porta")
mkdir -p "$SERVICO/respostas"
cat >"$SERVICO/respostas/demo.corpo" <<'JSON'
[{"CST":"000","DescricaoCST":"Tributação integral","classificacoesTributarias":[{"cClassTrib":"000001","DescricaoClassTrib":"Situações tributadas integralmente pelo IBS e CBS."}]}]
JSON

# The prefix holds the service's CA and the demo certificate; when the service has made new ones
# (its material is renewed before it expires), a new prefix gets them, rather than a store with
# the old, expired certificate of the same name beside the new.
IMPORTADO=$WINEPREFIX/certificado-importado.pem
if [ -f "$WINEPREFIX/system.reg" ] && ! cmp -s "$IMPORTADO" "$SERVICO/cliente-rsa.pem"; then
  /usr/lib/wine/wineserver -k </dev/null >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX"
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "== Wine prefix in $WINEPREFIX (once, about half a minute)"
  /usr/lib/wine/wine64 wineboot -i </dev/null >"$DEMO/wineboot.log" 2>&1
  /usr/lib/wine/wineserver -w </dev/null >/dev/null 2>&1
fi
if ! cmp -s "$IMPORTADO" "$SERVICO/cliente-rsa.pem"; then
  /usr/lib/wine/wine64 "$B/tests/wine/importar_certificados.exe" "$(windows "$SERVICO/ca.pem")" \
    "$(windows "$SERVICO/cliente-rsa.p12")" </dev/null >"$DEMO/certificados.log" 2>&1 ||
    { cat "$DEMO/certificados.log" >&2; exit 1; }
  cp "$SERVICO/cliente-rsa.pem" "$IMPORTADO"
fi

echo "== starting tolvaneGestor.exe under Wine (right-click its tray icon for the menu)"
cd "$ESTACAO"
TOLVANE_CLASSTRIB_URL="https://localhost:$PORTA/demo/api/v1/consultas" \
  /usr/lib/wine/wine64 "$ESTACAO/tolvaneGestor.exe" </dev/null >"$DEMO/saida.log" 2>&1 || true
if [ $nova_versao -eq 1 ]; then
  echo "== the updater runs now and starts the new version; this script waits for Wine to end"
fi
/usr/lib/wine/wineserver -w </dev/null >/dev/null 2>&1 || true
