#!/usr/bin/env bash
# Checks beyond the test suite: source formatting.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
mapfile -t files < <(git ls-files '*.cpp' '*.h' 2>/dev/null || find src tests engines bench fuzz -name '*.cpp' -o -name '*.h')
if ((${#files[@]})); then
  echo "== clang-format =="
  clang-format --dry-run --Werror "${files[@]}"
fi
