#!/bin/bash
# Every project header under engines/ (and the engines' tests, benchmarks and
# fuzz targets) is included by its layer's path, "riichi/table.h", never by a
# bare name: a bare name resolves beside the including file and so slips past
# the layers' boundaries. Prints the offending lines and fails if any.
# Usage: includes_by_path_test.sh SOURCE_DIR
set -u
cd "$1" || exit 2
bare=$(grep -rnE '^#include "[^/"]+"' engines tests/engines tests/riichi tests/players tests/support/simple_player.* \
         bench fuzz --include='*.cpp' --include='*.h')
if [ -n "$bare" ]; then
  echo "includes without a layer path:"
  echo "$bare"
  exit 1
fi
