#!/bin/sh
# Native fuzzing (clang + libFuzzer, with the address and undefined-behaviour
# sanitizers) of the pieces that build on Linux:
#   text_decode        platform/richtext/TextDecode.cpp (practice-file decoding)
#   connection_string  platform/ado/src/ConnectionString.cpp
#   sqlite_file        the dictionary file read with ado's SqliteNative.cpp, the same
#                      SQLite amalgamation and options as the Windows build
#   wav_file           a recording read by platform/player (WavFile.cpp) and scaled to
#                      the player's volume (Volume.cpp); seeded with some of the
#                      program's own recordings when the data is built
# The ADO objects themselves are Windows code: tests/stress has their stress run.
#
#   fuzz/fuzz.sh build                 build the four targets
#   fuzz/fuzz.sh run <target> [secs]   fuzz one target (default 600 s)
#   fuzz/fuzz.sh all [secs]            fuzz them one after the other
#   fuzz/fuzz.sh replay <target> file  run one input (e.g. a crash) again
# FUZZ_DIR: work folder (default build-fuzz, gitignored): binaries, corpora,
#   crash artifacts and logs. SQLITE_SRC: folder holding sqlite3.c/.h (default:
#   the one a CMake build fetched into build*/_deps, checked against the pinned sums).
#   BUILD_DIR: the build whose data/sound recordings seed wav_file (default build).
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
FUZZ_DIR=${FUZZ_DIR:-$root/build-fuzz}
case "$FUZZ_DIR" in /*) ;; *) FUZZ_DIR="$root/$FUZZ_DIR" ;; esac
CXX=${CXX_FUZZ:-clang++-14}
CC=${CC_FUZZ:-clang-14}
SAN="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
OPT="-O1 -g"

pinned_sum() {  # the SHA-256 pinned for sqlite3.c or sqlite3.h
  sed -n "s/^set(_$1_sha256 *\([0-9a-f]*\).*/\1/p" "$root/third_party/sqlite/CMakeLists.txt"
}

find_sqlite() {
  if [ -n "$SQLITE_SRC" ]; then echo "$SQLITE_SRC"; return; fi
  for d in "$root"/build*/_deps/sqlite-*; do
    [ -f "$d/sqlite3.c" ] || continue
    [ "$(sha256sum "$d/sqlite3.c" | cut -d' ' -f1)" = "$(pinned_sum c)" ] || continue
    [ "$(sha256sum "$d/sqlite3.h" | cut -d' ' -f1)" = "$(pinned_sum h)" ] || continue
    echo "$d"; return
  done
  echo "no SQLite amalgamation matching the pinned sums: configure a CMake build first, or set SQLITE_SRC" >&2
  exit 1
}

# The SQLite options of the Windows build, read from its CMakeLists so that both agree.
sqlite_defines() {
  sed -n '/target_compile_definitions(sqlite3 PRIVATE/,/)/p' "$root/third_party/sqlite/CMakeLists.txt" |
    sed -n 's/^[^A-Z]*\(SQLITE_[A-Z0-9_]*\(=[0-9]*\)\{0,1\}\).*/-D\1/p' | tr '\n' ' '
}

build() {
  mkdir -p "$FUZZ_DIR/bin" "$FUZZ_DIR/obj"
  sqlite=$(find_sqlite)
  obj="$FUZZ_DIR/obj"
  echo "== SQLite from $sqlite with: $(sqlite_defines)"
  if [ ! -f "$obj/sqlite3.o" ] || [ "$sqlite/sqlite3.c" -nt "$obj/sqlite3.o" ] ||
     [ "$root/third_party/sqlite/CMakeLists.txt" -nt "$obj/sqlite3.o" ]; then
    # shellcheck disable=SC2046
    $CC $OPT $SAN -fsanitize=fuzzer-no-link -w $(sqlite_defines) -c "$sqlite/sqlite3.c" -o "$obj/sqlite3.o"
  fi
  flags="-std=c++20 $OPT $SAN -fsanitize=fuzzer -Wall"
  $CXX $flags -I"$root/platform/richtext" "$root/fuzz/text_decode_fuzz.cpp" \
      "$root/platform/richtext/TextDecode.cpp" -o "$FUZZ_DIR/bin/text_decode"
  $CXX $flags -I"$root/platform/ado/src" "$root/fuzz/connection_string_fuzz.cpp" \
      "$root/platform/ado/src/ConnectionString.cpp" -o "$FUZZ_DIR/bin/connection_string"
  $CXX $flags -I"$sqlite" -I"$root/platform/ado/src" "$root/fuzz/sqlite_file_fuzz.cpp" \
      "$root/platform/ado/src/SqliteNative.cpp" "$obj/sqlite3.o" -lpthread -lm -o "$FUZZ_DIR/bin/sqlite_file"
  $CXX $flags -I"$root/platform/player" "$root/fuzz/wav_file_fuzz.cpp" "$root/platform/player/WavFile.cpp" \
      "$root/platform/player/Volume.cpp" -o "$FUZZ_DIR/bin/wav_file"
  python3 "$root/fuzz/make_seeds.py" "$FUZZ_DIR/seeds" "${BUILD_DIR:-$root/build}/data/sound"
  echo "== built into $FUZZ_DIR/bin"
}

seeds_of() {
  case "$1" in
    text_decode) echo text ;;
    connection_string) echo connection ;;
    sqlite_file) echo dictionary ;;
    wav_file) echo wav ;;
    *) echo "unknown target $1" >&2; exit 2 ;;
  esac
}

max_len_of() {
  case "$1" in
    sqlite_file|wav_file) echo 65536 ;;
    *) echo 16384 ;;
  esac
}

run() {
  target=$1; secs=${2:-600}
  [ -x "$FUZZ_DIR/bin/$target" ] || build
  corpus="$FUZZ_DIR/corpus/$target"; art="$FUZZ_DIR/artifacts/$target"
  mkdir -p "$corpus" "$art" "$FUZZ_DIR/logs" "$FUZZ_DIR/scratch"
  log="$FUZZ_DIR/logs/$target.log"
  echo "== fuzzing $target for $secs s (log: $log)"
  status=0
  FUZZ_SCRATCH="$FUZZ_DIR/scratch" "$FUZZ_DIR/bin/$target" "$corpus" "$FUZZ_DIR/seeds/$(seeds_of "$target")" \
      -max_total_time="$secs" -max_len="$(max_len_of "$target")" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$art/" >"$log" 2>&1 || status=$?
  rm -f "$FUZZ_DIR"/scratch/lorvane-dict-*
  grep -E '^(stat::|Done|#[0-9]+ *DONE)' "$log" | tail -8
  grep -E 'cov: [0-9]+' "$log" | tail -1
  if [ "$status" -ne 0 ]; then
    echo "!! $target found a fault (status $status); artifacts in $art:"; ls "$art"
    grep -m3 -E 'ERROR|runtime error|deadly signal' "$log"
    return "$status"
  fi
}

case "${1:-}" in
  build) build ;;
  run) [ -n "$2" ] || { echo "usage: $0 run <target> [seconds]" >&2; exit 2; }; run "$2" "${3:-600}" ;;
  all) build; for t in text_decode connection_string sqlite_file wav_file; do run "$t" "${2:-600}"; done ;;
  replay) "$FUZZ_DIR/bin/$2" "$3" ;;
  *) sed -n '2,21p' "$0"; exit 2 ;;
esac
