#!/usr/bin/env bash
# Sets up everything and runs the whole test suite: a normal build, then the
# same suite built with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup-deps.sh"
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
jobs=$(nproc)

echo "== build and test =="
"$root/scripts/build.sh" release
(cd "$root/build" && ctest --output-on-failure -j "$jobs" --timeout 300)

if [[ "${ZV_SKIP_ASAN:-0}" != 1 ]]; then
  echo "== build and test with ASan + UBSan =="
  "$root/scripts/build.sh" asan
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  export LSAN_OPTIONS="suppressions=$root/scripts/lsan-suppressions.txt"
  (cd "$root/build-asan" && ctest --output-on-failure -j "$jobs" --timeout 600)
fi

if [[ "${ZV_SKIP_FUZZ:-0}" != 1 ]]; then
  echo "== fuzz targets: corpus replay and a short run each =="
  "$root/scripts/fuzz.sh" "${ZV_FUZZ_SECONDS:-10}"
fi

if [[ -x "$root/scripts/extra-checks.sh" ]]; then "$root/scripts/extra-checks.sh"; fi
echo "All tests passed."
