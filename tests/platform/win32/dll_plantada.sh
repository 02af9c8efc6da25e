#!/usr/bin/env bash
# dll_plantada.sh <Wine state folder> <tolvaneFumaca.exe> <carregar_por_nome.exe> <dll_plantada.dll>
# Plants a DLL that records its loading under the names of the system libraries that the programs
# load at run time (winhttp.dll, crypt32.dll) beside a copy of the smoke program, which calls
# every platform service once (the test query and the certificate store among them), and as
# gds32.dll in its current folder; Wine is told to prefer such native copies. The smoke program
# must load none of them. First, a program that loads winhttp.dll by its bare name must load the
# planted one: otherwise this Wine would never load a planted copy and the case would prove
# nothing.
set -euo pipefail
estado=$1 fumaca=$2 por_nome=$3 plantada=$4
# shellcheck source=/dev/null
source "$estado/ambiente"
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winhttp,crypt32,gds32=n,b"
pasta=$(mktemp -d "$estado/plantada-XXXXXX")
trap 'rm -rf "$pasta"' EXIT
mkdir "$pasta/programa" "$pasta/corrente"
cp "$fumaca" "$por_nome" "$pasta/programa/"
for nome in winhttp crypt32; do cp "$plantada" "$pasta/programa/$nome.dll"; done
cp "$plantada" "$pasta/corrente/gds32.dll"
registro=$pasta/registro.txt
export TOLVANE_PLANTADA_REGISTRO="Z:${registro//\//\\}"

cd "$pasta/programa"
/usr/lib/wine/wine64 "$pasta/programa/$(basename "$por_nome")" winhttp.dll </dev/null \
  >"$pasta/por_nome.log" 2>&1 || true
if [ ! -s "$registro" ]; then
  echo "FAIL: the control did not load the planted winhttp.dll: this Wine never takes a planted" \
    "copy, so the case cannot show anything"
  cat "$pasta/por_nome.log"
  exit 1
fi
echo "control: a bare-name load took the planted copy: $(tr -d '\0' <"$registro")"
rm -f "$registro"

cd "$pasta/corrente"
/usr/lib/wine/wine64 "$pasta/programa/$(basename "$fumaca")" </dev/null >"$pasta/fumaca.log" 2>&1 ||
  true
if ! grep -q "falha(s)" "$pasta/fumaca.log"; then
  echo "FAIL: the smoke program did not finish its round:"
  cat "$pasta/fumaca.log"
  exit 1
fi
if [ -s "$registro" ]; then
  echo "FAIL: a planted library was loaded: $(tr -d '\0' <"$registro")"
  cat "$pasta/fumaca.log"
  exit 1
fi
echo "the smoke program loaded none of the planted libraries; its round:"
cat "$pasta/fumaca.log"
