#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for a while:
#   fuzz.sh [seconds per target]   (default 20)
#   fuzz.sh --runs N [--seconds S] [name...]
# The second form is for long runs: each target (or each named one, e.g.
# launch_nuc, started in the order given) runs for N executions, and for at
# most S seconds when given.
# Targets run side by side, one per processor. New inputs they find go to a
# throw-away folder; the committed corpora in fuzz/corpus/ only seed them.
# Each target also takes the libFuzzer flags in fuzz/<name>.options (one
# line, e.g. the longest input worth trying). Logs stay in build-fuzz/logs/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=20
runs=
names=()
if [[ ${1:-} == --runs ]]; then
  seconds=
  while (($# > 0)); do
    case $1 in
      --runs) runs=$2; shift 2 ;;
      --seconds) seconds=$2; shift 2 ;;
      -*) echo "fuzz.sh: unknown option $1" >&2; exit 2 ;;
      *) names+=("$1"); shift ;;
    esac
  done
  [[ $runs =~ ^[0-9]+$ ]] || { echo "fuzz.sh: --runs needs a number" >&2; exit 2; }
elif (($# > 0)); then
  seconds=$1
fi
dir="$root/build-fuzz"
CC=clang CXX=clang++ cmake -S "$root" -B "$dir" -G Ninja -DZV_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$dir" -j "$(nproc)"
(cd "$dir" && ctest --output-on-failure)
export ASAN_OPTIONS=detect_leaks=1
mkdir -p "$dir/logs"

limits=()
[[ -n $runs ]] && limits+=(-runs="$runs")
[[ -n $seconds ]] && limits+=(-max_total_time="$seconds")
if [[ -n $runs ]]; then what="$runs runs${seconds:+ (at most ${seconds}s)}"; else what="${seconds}s"; fi

# Runs one target; prints its report and returns non-zero on a finding.
fuzz_one() {
  local exe=$1 name corpus dict options work log status=0
  name=$(basename "$exe"); corpus="$root/fuzz/corpus/${name#fuzz_}"
  mkdir -p "$corpus"
  dict="$root/fuzz/${name#fuzz_}.dict"
  local dictarg=(); [[ -f "$dict" ]] && dictarg=(-dict="$dict")
  options="$root/fuzz/${name#fuzz_}.options"
  local optionargs=(); [[ -f "$options" ]] && read -ra optionargs <"$options"
  work=$(mktemp -d)
  log="$dir/logs/$name.log"
  "$exe" "${limits[@]}" -print_final_stats=1 -artifact_prefix="$dir/$name-" "${dictarg[@]}" "${optionargs[@]}" \
    "$work" "$corpus" >"$log" 2>&1 || status=$?
  {
    echo "== $name for $what =="
    grep -E 'stat::number_of_executed_units|stat::average_exec_per_sec|ERROR|SUMMARY' "$log" || true
    if ((status != 0)); then echo "$name found a failure (artifacts in $dir, log $log)"; fi
  } >"$work.report"
  cat "$work.report"
  rm -rf "$work" "$work.report"
  return "$status"
}

targets=()
if ((${#names[@]} > 0)); then
  for name in "${names[@]}"; do
    exe="$dir/fuzz/fuzz_${name#fuzz_}"
    [[ -x $exe ]] || { echo "fuzz.sh: no fuzz target $name" >&2; exit 2; }
    targets+=("$exe")
  done
else
  targets=("$dir"/fuzz/fuzz_*)
fi

failed=0
running=0
for exe in "${targets[@]}"; do
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
