#!/usr/bin/env bash
# Times the results reader against `wc -l` on the same file, and the record
# search against `find` on the same tree, and prints the ratios.
#   bench/compare-records.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build}
bench=$build/bench/records_bench
data=$(mktemp -d /tmp/zvbench-XXXXXX)
trap 'rm -rf "$data"' EXIT

"$bench" --data "$data" --generate-only
results=$data/results/usr/big/zvclient.res
tree=$data/tree/usr

# Best wall time in milliseconds of several runs of a command.
best_ms() {
    local best=
    for _ in 1 2 3 4 5 6 7; do
        local start end
        start=$(date +%s%N)
        "$@" >/dev/null
        end=$(date +%s%N)
        local ms=$(( (end - start) / 1000 ))
        if [[ -z $best || $ms -lt $best ]]; then best=$ms; fi
    done
    printf '%d.%03d' $((best / 1000)) $((best % 1000))
}

wc_ms=$(best_ms wc -l "$results")
find_ms=$(best_ms find "$tree" -name '*.fu')

json=$("$bench" --data "$data" --benchmark_format=json --benchmark_repetitions=5 \
    --benchmark_report_aggregates_only=true 2>/dev/null)
median() {
    python3 -c 'import json,sys
d=json.load(sys.stdin)
for b in d["benchmarks"]:
    if b["name"]==sys.argv[1]+"_median": print("%.3f" % b["real_time"])' "$1" <<<"$json"
}
read_ms=$(median BM_ReadResults)
rank_ms=$(median BM_FillRanking)
collect_ms=$(median BM_CollectRecords)

echo "ReadResults (1,000,000 lines): ${read_ms} ms   wc -l: ${wc_ms} ms   ratio $(python3 -c "print('%.2f' % ($read_ms/$wc_ms))") (target <= 3)"
echo "Record search (100,000 files): ${collect_ms} ms   find: ${find_ms} ms   ratio $(python3 -c "print('%.2f' % ($collect_ms/$find_ms))") (target <= 2)"
echo "FillRanking (1,000 players):   ${rank_ms} ms"
