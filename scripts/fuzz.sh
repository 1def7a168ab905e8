#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for a while:
#   fuzz.sh [seconds per target]   (default 20)
# Targets run side by side, one per processor. New inputs they find go to a
# throw-away folder; the committed corpora in fuzz/corpus/ only seed them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-20}
dir="$root/build-fuzz"
CC=clang CXX=clang++ cmake -S "$root" -B "$dir" -G Ninja -DZV_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$dir" -j "$(nproc)"
(cd "$dir" && ctest --output-on-failure)
export ASAN_OPTIONS=detect_leaks=1

# Runs one target; prints its report and returns non-zero on a finding.
fuzz_one() {
  local exe=$1 name corpus dict work status=0
  name=$(basename "$exe"); corpus="$root/fuzz/corpus/${name#fuzz_}"
  mkdir -p "$corpus"
  dict="$root/fuzz/${name#fuzz_}.dict"
  local dictarg=(); [[ -f "$dict" ]] && dictarg=(-dict="$dict")
  work=$(mktemp -d)
  "$exe" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$dir/$name-" "${dictarg[@]}" \
    "$work" "$corpus" >"$work.log" 2>&1 || status=$?
  {
    echo "== $name for ${seconds}s =="
    grep -E 'stat::number_of_executed_units|ERROR|SUMMARY' "$work.log" || true
    if ((status != 0)); then echo "$name found a failure (artifacts in $dir)"; fi
  } >"$work.report"
  cat "$work.report"
  rm -rf "$work" "$work.log" "$work.report"
  return "$status"
}

failed=0
running=0
for exe in "$dir"/fuzz/fuzz_*; do
  fuzz_one "$exe" &
  running=$((running + 1))
  if ((running >= $(nproc))); then
    wait -n || failed=1
    running=$((running - 1))
  fi
done
while ((running > 0)); do
  wait -n || failed=1
  running=$((running - 1))
done
exit "$failed"
