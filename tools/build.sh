#!/bin/sh
# Configures (once) and builds everything into $BUILD_DIR (default: build).
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-$root/build}
case "$BUILD_DIR" in /*) ;; *) BUILD_DIR="$root/$BUILD_DIR" ;; esac
if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
  echo "== configuring the build in $BUILD_DIR"
  cmake -S "$root" -B "$BUILD_DIR" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
echo "== building (program, tests and data)"
cmake --build "$BUILD_DIR" -j "$(nproc)" "$@"
