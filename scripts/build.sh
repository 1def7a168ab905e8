#!/usr/bin/env bash
# Configures and builds into a build folder: build.sh [release|asan]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
kind=${1:-release}
case "$kind" in
  release) dir="$root/build"; flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DZV_WERROR=ON) ;;
  asan) dir="$root/build-asan"; flags=(-DCMAKE_BUILD_TYPE=Debug -DZV_SANITIZE=ON -DZV_WERROR=ON) ;;
  *) echo "usage: $0 [release|asan]" >&2; exit 2 ;;
esac
cmake -S "$root" -B "$dir" -G Ninja "${flags[@]}" >/dev/null
cmake --build "$dir" -j "$(nproc)"
