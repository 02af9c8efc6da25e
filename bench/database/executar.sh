#!/usr/bin/env bash
# Builds and runs the database benchmark: the program's attach + parameter-table step against
# isql-fb running the same statements on the same database file (embedded engine).
#   bench/database/executar.sh [build folder] [runs per side]
# The build folder (default build/bench, Release) must come from this project's top-level
# CMakeLists.txt, which adds bench/database.
set -euo pipefail
raiz=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$raiz/build/bench}
execucoes=${2:-21}
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$raiz" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
fi
cmake --build "$build" --target bench_database -j2 >/dev/null
pasta=$(mktemp -d)
trap 'rm -rf "$pasta"' EXIT
# The embedded engine's lock files in a folder of the benchmark's own (see tests/database).
export FIREBIRD_LOCK=$pasta/lock
"$build/bench/database/bench_database" "$pasta/trabalho" "$execucoes"
