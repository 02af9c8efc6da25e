#!/usr/bin/env bash
# Fails when a C++ file differs from what .clang-format makes of it. The files are those git
# tracks, so a copy outside a git checkout cannot be checked: that fails too, rather than pass
# having checked nothing.
set -euo pipefail
cd "$(dirname "$0")/../.."
if ! arquivos_git=$(git ls-files '*.cpp' '*.h' 2>&1); then
  echo "verificar-formato: not a git checkout, nothing to check against ($arquivos_git)" >&2
  exit 1
fi
mapfile -t arquivos <<<"$arquivos_git"
if [ -z "${arquivos[0]}" ]; then
  echo "verificar-formato: git tracks no C++ file here" >&2
  exit 1
fi
clang-format --dry-run --Werror "${arquivos[@]}"
