#!/usr/bin/env bash
# Start-up time of the launcher against the smallest Qt Widgets program that
# shows a window, both from process start until their main window has been
# painted (offscreen) and the program ends. The same program showing one
# line of Japanese text is timed too: what any window with text pays.
#   bench/startup.sh [build folder] [runs]      (defaults: build, 30)
# The launcher runs from a throw-away copy of the installation, as user
# "bench" whose launch.nuc has a start count without a start-up tip; it ends
# after its first paint through ZV_EXIT_AFTER_SHOWN=1. Uses hyperfine when
# installed (scripts/packages/bench.txt), else a plain timing loop.
# Prints both means and the ratio launcher / minimal (target: within 1.5).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
runs=${2:-30}
minimal="$build/bench/minimal_window"
[[ -x "$build/stage/zelvan" && -x "$minimal" ]] || {
    echo "build zelvan and minimal_window first (cmake --build $build)" >&2
    exit 2
}

install=$(mktemp -d)
trap 'rm -rf "$install"' EXIT
cp -r "$build/stage/." "$install/"
mkdir -p "$install/usr/bench"
# Count 5: no tip. Background music stays as shipped (on), as a user has it.
reset_nuc="printf '(define count 5)\r\n' > '$install/usr/bench/launch.nuc'"
eval "$reset_nuc"

export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy ZV_EXIT_AFTER_SHOWN=1
launcher=("$install/zelvan" -u bench)

if command -v hyperfine >/dev/null; then
    json="$install/startup.json"
    hyperfine -N --warmup 3 --runs "$runs" --prepare "sh -c \"$reset_nuc\"" \
        --export-json "$json" -n minimal "$minimal" -n minimal_text "$minimal --text" \
        -n launcher "${launcher[*]}"
    python3 - "$json" <<'PY'
import json, sys
results = {r["command"]: r for r in json.load(open(sys.argv[1]))["results"]}
minimal, text, launcher = results["minimal"], results["minimal_text"], results["launcher"]
print(f"minimal  mean {minimal['mean'] * 1000:.1f} ms  median {minimal['median'] * 1000:.1f} ms")
print(f"minimal with one line of text  mean {text['mean'] * 1000:.1f} ms  median {text['median'] * 1000:.1f} ms")
print(f"launcher mean {launcher['mean'] * 1000:.1f} ms  median {launcher['median'] * 1000:.1f} ms")
print(f"ratio launcher/minimal (mean) {launcher['mean'] / minimal['mean']:.2f}  (median) "
      f"{launcher['median'] / minimal['median']:.2f}  target <= 1.5")
print(f"ratio launcher/minimal with text (mean) {launcher['mean'] / text['mean']:.2f}")
PY
else
    measure() {
        local total=0 start end
        for ((i = 0; i < runs; ++i)); do
            eval "$reset_nuc"
            start=$(date +%s%N)
            "$@" >/dev/null 2>&1
            end=$(date +%s%N)
            total=$((total + end - start))
        done
        echo $((total / runs / 1000))  # microseconds
    }
    "$minimal" >/dev/null 2>&1; "${launcher[@]}" >/dev/null 2>&1  # warm the caches
    m=$(measure "$minimal")
    l=$(measure "${launcher[@]}")
    echo "minimal  mean $((m / 1000)) ms"
    echo "launcher mean $((l / 1000)) ms"
    python3 -c "print(f'ratio launcher/minimal (mean) {$l / $m:.2f}  target <= 1.5')"
fi
