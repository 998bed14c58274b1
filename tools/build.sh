#!/bin/sh
# Configures (once) and builds everything into $BUILD_DIR (default: build).
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/tools/build-dir.sh"
if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
  echo "== configuring the build in $BUILD_DIR"
  cmake -S "$root" -B "$BUILD_DIR" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
if [ $# -gt 0 ]; then
  echo "== building the program and its data (the first time takes several minutes)"
else
  echo "== building everything: program, data, installer and tests"
fi
cmake --build "$BUILD_DIR" -j "$(nproc)" "$@"
