#!/usr/bin/env bash
# Runs every fuzz target of a linux-fuzz build for a while and says how far each got:
#   scripts/lib/fuzz.sh <build folder> <seconds per target> [target ...]
# Each target starts from its seed corpus in tests/fuzz/corpus and keeps what it finds in a
# working corpus of the build folder (the repository's seeds are never changed). Two targets run
# at a time, one per core. A crash, a leak, a sanitizer report or a time-out of one input fails
# the run; the input is left in <build folder>/fuzz-artefatos to be added to the seeds.
set -euo pipefail
RAIZ=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
pasta=$(cd "$1" && pwd)
segundos=$2
shift 2
alvos=("$@")
if [ ${#alvos[@]} -eq 0 ]; then
  alvos=(perfil data_hora arquivo_retorno argumentos entrada_desktop nome_certificado)
fi
mkdir -p "$pasta/fuzz-corpus" "$pasta/fuzz-artefatos"

rodar() {
  local alvo=$1 trabalho=$pasta/fuzz-corpus/$1
  local codigo=0
  mkdir -p "$trabalho"
  "$pasta/tests/fuzz/${alvo}_fuzz" -max_total_time="$segundos" -print_final_stats=1 \
    -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$pasta/fuzz-artefatos/${alvo}-" \
    "$trabalho" "$RAIZ/tests/fuzz/corpus/$alvo" >"$pasta/fuzz-$alvo.log" 2>&1 </dev/null || codigo=$?
  echo $codigo >"$pasta/fuzz-$alvo.codigo"
}

for alvo in "${alvos[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge 2 ]; do wait -n || true; done
  rodar "$alvo" &
done
wait
falhas=0
total=0
for alvo in "${alvos[@]}"; do
  codigo=$(cat "$pasta/fuzz-$alvo.codigo")
  execucoes=$(sed -n 's/^stat::number_of_executed_units: *//p' "$pasta/fuzz-$alvo.log")
  total=$((total + ${execucoes:-0}))
  if [ $codigo -ne 0 ]; then
    falhas=$((falhas + 1))
    echo "fuzz $alvo: FAILED (exit $codigo) after ${execucoes:-?} executions:"
    grep -E 'ERROR|SUMMARY|Test unit written|^[a-zA-Z ]+: ' "$pasta/fuzz-$alvo.log" | head -20
  else
    echo "fuzz $alvo: ${execucoes} executions in ${segundos} s, no crash"
  fi
done
echo "fuzz: ${#alvos[@]} targets, $total executions, $falhas failed"
[ $falhas -eq 0 ]
