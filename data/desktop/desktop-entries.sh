#!/bin/sh
# desktop-entries.sh [--remove] [DATA_DIR]
#
# Adds the menu entries, icons and metadata of this package folder to the
# desktop of the current user (DATA_DIR, by default $XDG_DATA_HOME or
# ~/.local/share), or takes them away again with --remove. The package
# folder may be moved or copied anywhere; run this again after moving it,
# because the entries name the programs by their full path.
set -eu

remove=0
if [ "${1:-}" = "--remove" ]; then
  remove=1
  shift
fi
case "${1:-}" in
  -h | --help)
    sed -n '2,9p' "$0" | sed 's/^# \{0,1\}//'
    exit 0
    ;;
esac
data=${1:-${XDG_DATA_HOME:-$HOME/.local/share}}
share=$(cd "$(dirname "$0")" && pwd)
package=$(dirname "$share")
entries="org.zelvan.zelvan org.zelvan.glimpse"

if [ "$remove" = 1 ]; then
  for name in $entries; do
    rm -f "$data/applications/$name.desktop" "$data/metainfo/$name.metainfo.xml"
    rm -f "$data"/icons/hicolor/*/apps/"$name".png "$data/icons/hicolor/scalable/apps/$name.svg"
  done
  echo "Removed the menu entries from $data"
  exit 0
fi

# The full path goes into the Exec line between double quotes; the few
# characters that would need escaping there are refused instead.
case "$package" in
  *[\"\`\$\\]*)
    echo "The package folder \"$package\" contains one of the characters \" \` \$ \\," >&2
    echo "which a menu entry cannot name. Move the folder to a plainer path and try again." >&2
    exit 1
    ;;
esac
escaped=$(printf '%s' "$package" | sed 's/%/%%/g')
# ... and sed's own special characters are escaped for the replacement.
for_sed=$(printf '%s' "$escaped" | sed 's/[&|]/\\&/g')

for program in zelvan glimpse; do
  if [ ! -x "$package/$program" ]; then
    echo "There is no program \"$package/$program\": run this script from an installed package folder." >&2
    exit 1
  fi
done

mkdir -p "$data/applications" "$data/metainfo"
for name in $entries; do
  program=${name#org.zelvan.}
  sed "s|^Exec=.*|Exec=\"$for_sed/$program\"|" "$share/applications/$name.desktop" >"$data/applications/$name.desktop"
  for icon in "$share"/icons/hicolor/*/apps/"$name".*; do
    [ -e "$icon" ] || continue
    size=$(basename "$(dirname "$(dirname "$icon")")")
    mkdir -p "$data/icons/hicolor/$size/apps"
    cp "$icon" "$data/icons/hicolor/$size/apps/"
  done
done
cp "$share/metainfo/org.zelvan.zelvan.metainfo.xml" "$data/metainfo/"

# Let the desktop notice the new entries now rather than at the next login.
if command -v update-desktop-database >/dev/null 2>&1; then
  update-desktop-database -q "$data/applications" 2>/dev/null || true
fi
if command -v gtk-update-icon-cache >/dev/null 2>&1; then
  gtk-update-icon-cache -q -t "$data/icons/hicolor" 2>/dev/null || true
fi
echo "Added the menu entries for $package to $data"
