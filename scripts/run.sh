#!/usr/bin/env bash
# Sets up, builds and starts the launcher from the build's stage folder.
# Without a display it says so; `run.sh --screenshot FILE` then shows the
# launcher on a virtual screen and saves a picture of it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup-deps.sh"
"$root/scripts/build.sh" release
exe="$root/build/stage/zelvan"
if [[ "${1:-}" == "--screenshot" ]]; then
  out=${2:-"$root/zelvan-screenshot.png"}
  exec "$root/scripts/screenshot.sh" "$out" "$exe" "${@:3}"
fi
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  echo "No display found: the launcher needs a graphical session."
  echo "To see it anyway, run: $0 --screenshot out.png"
  exit 1
fi
exec "$exe" "$@"
