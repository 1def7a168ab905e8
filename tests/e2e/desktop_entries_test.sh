#!/usr/bin/env bash
# desktop_entries_test.sh BUILD_DIR DESKTOP_FILE_VALIDATE
#
# Installs the build into a package folder whose path needs care (a blank, an
# ampersand, a percent sign), adds its menu entries to a throw-away data
# folder, checks that they name the programs by their full path and still
# validate, then takes them away again.
set -euo pipefail
build=$1
validate=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

package="$work/games & 100% fun/zelvan"
data="$work/data"
cmake --install "$build" --prefix "$package" >/dev/null || fail "install"

"$package/share/desktop-entries.sh" "$data" >/dev/null || fail "adding the entries failed"
for name in zelvan glimpse; do
  entry="$data/applications/org.zelvan.$name.desktop"
  [[ -f "$entry" ]] || fail "$entry was not written"
  out=$("$validate" "$entry" 2>&1) || fail "$entry does not validate: $out"
  [[ -z "$out" ]] || fail "$entry: $out"
  # A percent sign is doubled in an Exec line; the blank is kept inside quotes.
  grep -qxF "Exec=\"$work/games & 100%% fun/zelvan/$name\"" "$entry" ||
    fail "wrong Exec line: $(grep '^Exec=' "$entry")"
  for size in 16x16 32x32 48x48 64x64 128x128 256x256; do
    [[ -s "$data/icons/hicolor/$size/apps/org.zelvan.$name.png" ]] || fail "icon $size of $name was not copied"
  done
  [[ -s "$data/icons/hicolor/scalable/apps/org.zelvan.$name.svg" ]] || fail "scalable icon of $name was not copied"
done
[[ -f "$data/metainfo/org.zelvan.zelvan.metainfo.xml" ]] || fail "metainfo was not copied"

"$package/share/desktop-entries.sh" --remove "$data" >/dev/null || fail "removing the entries failed"
left=$(find "$data" -type f -name 'org.zelvan.*')
[[ -z "$left" ]] || fail "left behind: $left"

# A folder whose path cannot be named in an Exec line is refused clearly.
odd="$work/pay\$day"
cp -r "$package" "$odd"
if "$odd/share/desktop-entries.sh" "$data" 2>"$work/err.txt"; then fail "a path with \$ was accepted"; fi
grep -q "cannot name" "$work/err.txt" || fail "no clear message for an odd path: $(cat "$work/err.txt")"
[[ ! -e "$data/applications/org.zelvan.zelvan.desktop" ]] || fail "an entry was written for a refused path"

echo "desktop entries added and removed"
