#!/usr/bin/env bash
# Draws the one-player board's pictures shown in README.md into
# docs/screenshots/: a hand in progress (real-looking tiles, a call offered)
# and the panel at the end of a hand. The board's tests play a seeded game off
# screen in every layout and save what they show when ZV_BOARD_SHOTS names a
# folder. Run after a build (scripts/build.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/docs/screenshots"
build="${1:-$root/build}"
[[ -d "$build" ]] || "$root/scripts/build.sh" release
cmake --build "$build" --target board_tests >/dev/null

shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT
ZV_BOARD_SHOTS="$shots" QT_QPA_PLATFORM=offscreen "$build/tests/board_tests" \
  --gtest_filter='BoardTest.EveryLayoutFitsItsWindow' >/dev/null
mkdir -p "$out"
cp "$shots/buttons-small4-real.png" "$out/board.png"
cp "$shots/result-small4-flat.png" "$out/board-result.png"
echo "Saved $out/board.png and $out/board-result.png (all layouts: set ZV_BOARD_SHOTS yourself)"
