#!/usr/bin/env bash
# package_test.sh BUILD_DIR ARGRECORDER
#
# Installs the build into a throw-away package folder, moves the folder
# elsewhere and checks that the moved programs still find everything beside
# them: the invoker starts the launcher of the moved folder, and the launcher
# in direct play starts the moved one-player engine (the argrecorder stands in
# for both), creates the user's folder and saves its settings there.
set -euo pipefail
build=$1
recorder=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

first="$work/first place"
moved="$work/moved & renamed"
cmake --install "$build" --prefix "$first" >"$work/install.log" || { cat "$work/install.log"; fail "install"; }

# What a package folder holds.
for program in zelvan glimpse invoker; do
  [[ -x "$first/$program" ]] || fail "$program is not installed at the top of the package"
done
# Every program built into the stage folder (engines included) is installed.
for staged in "$build"/stage/*; do
  if [[ -f "$staged" && -x "$staged" ]]; then
    [[ -x "$first/$(basename "$staged")" ]] || fail "the program $(basename "$staged") of the stage folder is not installed"
  fi
done
[[ -f "$first/command/zvcomm.arg" ]] || fail "command/zvcomm.arg is missing"
[[ -d "$first/image" ]] || fail "image/ is missing"
for dir in help rulebook sound usr; do
  if [[ -d "$(dirname "$0")/../../data/$dir" ]]; then
    [[ -d "$first/$dir" ]] || fail "$dir/ is in data/ but not in the package"
  fi
done
[[ -f "$first/help/index.html" ]] || fail "help/index.html is missing"
[[ -f "$first/rulebook/index.html" ]] || fail "rulebook/index.html is missing"
for size in 16 32 48 64 128 256; do
  for icon in org.zelvan.zelvan org.zelvan.glimpse; do
    file="$first/share/icons/hicolor/${size}x${size}/apps/$icon.png"
    [[ -s "$file" ]] || fail "icon $file is missing"
    [[ "$(head -c 8 "$file" | od -An -tx1 | tr -d ' \n')" == 89504e470d0a1a0a ]] || fail "$file is not a PNG"
  done
done
[[ -f "$first/share/applications/org.zelvan.zelvan.desktop" ]] || fail "launcher menu entry missing"
[[ -f "$first/share/metainfo/org.zelvan.zelvan.metainfo.xml" ]] || fail "metainfo missing"
# Nothing of the build's test or helper programs comes along.
for stray in argrecorder zvcore_tests zvgui_tests dialogshot render_svg; do
  [[ ! -e "$first/$stray" ]] || fail "$stray should not be installed"
done

mv "$first" "$moved"
[[ ! -e "$first" ]] || fail "the first folder is still there"

# Every engine that came along starts from the moved folder.
for engine in zelvan1 rzelvan1 sanma1 zvserver zvclient rclient zvauto pad; do
  [[ -x "$moved/$engine" ]] || continue
  (cd / && QT_QPA_PLATFORM=offscreen timeout 60 "$moved/$engine" --help >/dev/null 2>&1) ||
    fail "the moved $engine does not start"
done

# The invoker of the moved folder fills in its own folder and starts the
# launcher there (here the argrecorder in the launcher's place).
mv "$moved/zelvan" "$moved/zelvan.real"
cp "$recorder" "$moved/zelvan"
(cd / && ARGRECORDER_OUT="$work/invoker.txt" "$moved/invoker") || fail "the moved invoker failed"
for _ in $(seq 1 500); do
  grep -q '^end$' "$work/invoker.txt" 2>/dev/null && break
  sleep 0.02
done
grep -qxF "exe $moved/zelvan" "$work/invoker.txt" || { cat "$work/invoker.txt" >&2; fail "the invoker did not start the moved launcher"; }
grep -qxF "arg -u" "$work/invoker.txt" || fail "the invoker gave no user name"
mv -f "$moved/zelvan.real" "$moved/zelvan"

# The launcher in direct play: user "guest" with five earlier starts.
cp "$recorder" "$moved/zelvan1"
mkdir -p "$moved/usr/guest"
printf '(define count 5)\r\n' >"$moved/usr/guest/launch.nuc"
status=0
(cd / && QT_QPA_PLATFORM=offscreen ARGRECORDER_OUT="$work/engine.txt" timeout 60 "$moved/zelvan" -u guest -1) || status=$?
[[ $status == 0 ]] || fail "the moved launcher ended with status $status"
grep -qxF "exe $moved/zelvan1" "$work/engine.txt" || { cat "$work/engine.txt" >&2; fail "the launcher did not start the moved engine"; }
grep -qxF "arg $moved/usr/guest" "$work/engine.txt" || fail "the engine was not given the moved user folder"
grep -qF '(define count 6)' "$moved/usr/guest/launch.nuc" || fail "launch.nuc was not saved with the new count"
[[ $(grep -c '^(define ' "$moved/usr/guest/launch.nuc") == 40 ]] || fail "launch.nuc does not hold every setting"

echo "package folder runs after being moved"
