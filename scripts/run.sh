#!/usr/bin/env bash
# Sets up, builds and starts the launcher from the build's stage folder.
# Without a display it says so; `run.sh --screenshot FILE` then shows the
# launcher on a virtual screen and saves a picture of it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup-deps.sh"
"$root/scripts/build.sh" release
stage="$root/build/stage"
exe="$stage/zelvan"

if [[ "${1:-}" == "--screenshot" ]]; then
  out=${2:-"$root/zelvan-screenshot.png"}
  [[ "$out" == /* ]] || out="$PWD/$out"
  # A throw-away copy of the installation, with a user who has started the
  # launcher before, so that the picture shows the main window rather than
  # the first start's greeting, and the real user's settings stay untouched.
  copy=$(mktemp -d)
  trap 'rm -rf "$copy"' EXIT
  cp -r "$stage/." "$copy/"
  mkdir -p "$copy/usr/guest"
  printf '(define count 7)\r\n' >"$copy/usr/guest/launch.nuc"
  "$root/scripts/screenshot.sh" "$out" "$copy/zelvan" -u guest "${@:3}"
  exit 0
fi

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  cat <<MSG
The launcher is built, but it cannot start here: there is no display
(neither DISPLAY nor WAYLAND_DISPLAY is set). It is a desktop program and
needs a graphical session, for example:
  - run this command in a terminal of your desktop, or
  - log in with X forwarding (ssh -X) and run it again.

To see the launcher anyway, draw it on a virtual screen and save a picture:
  $0 --screenshot out.png

The built programs are in $stage/
MSG
  exit 1
fi
exec "$exe" "$@"
