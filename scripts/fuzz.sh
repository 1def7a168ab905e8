#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for a while:
#   fuzz.sh [seconds per target]   (default 20)
# The corpus folders in fuzz/corpus/ grow with what the runs find.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-20}
dir="$root/build-fuzz"
CC=clang CXX=clang++ cmake -S "$root" -B "$dir" -G Ninja -DZV_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$dir" -j "$(nproc)"
(cd "$dir" && ctest --output-on-failure)
export ASAN_OPTIONS=detect_leaks=1
for exe in "$dir"/fuzz/fuzz_*; do
  name=$(basename "$exe"); corpus="$root/fuzz/corpus/${name#fuzz_}"
  mkdir -p "$corpus"
  dict="$root/fuzz/${name#fuzz_}.dict"; dictarg=(); [[ -f "$dict" ]] && dictarg=(-dict="$dict")
  echo "== $name for ${seconds}s =="
  work=$(mktemp -d)
  status=0
  "$exe" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$dir/" "${dictarg[@]}" \
    "$work" "$corpus" >"$work.log" 2>&1 || status=$?
  grep -E 'stat::number_of_executed_units|ERROR|SUMMARY' "$work.log" || true
  rm -rf "$work" "$work.log"
  if ((status != 0)); then echo "$name found a failure (artifacts in $dir)"; exit 1; fi
done
