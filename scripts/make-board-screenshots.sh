#!/usr/bin/env bash
# Draws the one-player board's pictures shown in README.md into
# docs/screenshots/: a hand in progress (real-looking tiles, a call offered)
# and the panel at the end of a hand, and the board with its toggles and log
# pane beside a draw's panel with a ready hand's melds, and the three-player
# board (a north set aside, the panel of a win with it). The board's tests play
# a seeded game off screen in every layout and save what they show when
# ZV_BOARD_SHOTS names a folder. Run after a build (scripts/build.sh); the
# side-by-side picture needs ImageMagick's convert.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
command -v convert >/dev/null || { echo "$0: needs convert (apt-get install imagemagick)" >&2; exit 1; }
out="$root/docs/screenshots"
build="${1:-$root/build}"
[[ -d "$build" ]] || "$root/scripts/build.sh" release
cmake --build "$build" --target board_tests >/dev/null

shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT
ZV_BOARD_SHOTS="$shots" QT_QPA_PLATFORM=offscreen "$build/tests/board_tests" \
  --gtest_filter='BoardTest.EveryLayoutFitsItsWindow:BoardPlayTest.LogPane*:ResultPanelDrawTest.*:SanmaBoardTest.*' >/dev/null
mkdir -p "$out"
cp "$shots/buttons-small4-real.png" "$out/board.png"
cp "$shots/result-small4-flat.png" "$out/board-result.png"
convert "$shots/board-log.png" "$shots/draw-panel.png" -background white -gravity north +append +repage \
  "$out/board-powerup.png"
cp "$shots/sanma-board.png" "$shots/sanma-result.png" "$out/"
echo "Saved $out/board.png, board-result.png, board-powerup.png, sanma-board.png and sanma-result.png (all layouts: set ZV_BOARD_SHOTS yourself)"
