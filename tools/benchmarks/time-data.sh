#!/bin/sh
# Times the data build (dictionary, recordings, practice text) from nothing into an empty
# folder, then again with nothing changed, and prints both (and FIGURE lines for ./benchmarks).
set -e
root=$(cd "$(dirname "$0")/../.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
t0=$(date +%s.%N)
"$root/tools/data/build-data.sh" "$tmp/data" >/dev/null
t1=$(date +%s.%N)
"$root/tools/data/build-data.sh" "$tmp/data" >/dev/null
t2=$(date +%s.%N)
python3 -c 'import sys
a, b, c = map(float, sys.argv[1:])
print(f"data build: from scratch {b - a:.2f} s, unchanged {c - b:.2f} s")
print(f"FIGURE\tdata_scratch_s\t{b - a:.2f}\ts\nFIGURE\tdata_unchanged_s\t{c - b:.2f}\ts")' "$t0" "$t1" "$t2"
