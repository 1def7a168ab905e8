#!/usr/bin/env bash
# Draws the pictures shown in README.md into docs/screenshots/: the main
# window and some of its dialogs, each opened through the main window's own
# command in a throw-away copy of the build's stage folder (user "guest"),
# drawn off screen. Run after a build (scripts/build.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/docs/screenshots"
build="$root/build"
[[ -d "$build" ]] || "$root/scripts/build.sh" release
cmake --build "$build" --target zelvan dialogshot >/dev/null

copy=$(mktemp -d)
trap 'rm -rf "$copy"' EXIT
cp -r "$build/stage/." "$copy/"
mkdir -p "$out"

# The pictures README.md shows; ZV_SCREENSHOT_WINDOWS="main play ..." picks
# others (window names: see tools/dialogshot.cpp).
windows=(${ZV_SCREENSHOT_WINDOWS:-main play rule})
for window in "${windows[@]}"; do
  if QT_QPA_PLATFORM=offscreen "$build/tools/dialogshot" "$copy" "$out/$window.png" "$window" 2>/dev/null; then
    echo "Saved $out/$window.png"
  else
    echo "Skipped $window: the window could not be opened" >&2
  fi
done
