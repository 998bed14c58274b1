#!/bin/sh
# Prints how long the study video takes to make from nothing, after a one-line change of the
# slide table, and when nothing changed. Works in a throwaway folder.
set -e
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# The example syllables are the built recordings.
sound="${BUILD_DIR:-$here/../../build}/data/sound"
[ -d "$sound" ] || { echo "video bench: no recordings in $sound: build the target 'data' first" >&2; exit 1; }
mkdir "$tmp/out"; ln -s "$(cd "$sound" && pwd)" "$tmp/out/sound"
seconds() { python3 -c 'import sys,time; print(f"{time.monotonic() - float(sys.argv[1]):.2f}")' "$1"; }
now() { python3 -c 'import time; print(time.monotonic())'; }

t=$(now); "$here/make-video.sh" "$tmp/out" "$tmp/work" >/dev/null; scratch=$(seconds "$t")
t=$(now); "$here/make-video.sh" "$tmp/out" "$tmp/work" >/dev/null; cached=$(seconds "$t")
# a changed sentence: only that phrase is read again, then the video is encoded again
mkdir "$tmp/src"; cp "$here"/*.py "$here"/*.json "$here"/*.sh "$tmp/src/"
sed -i 's/"zh": "继续听。", "jp": "/"zh": "请继续听。", "jp": "cing2 /' "$tmp/src/slides.json"
grep -q 请继续听 "$tmp/src/slides.json" || { echo "video bench: the sentence to change is gone" >&2; exit 1; }
t=$(now); "$tmp/src/make-video.sh" "$tmp/out" "$tmp/work" >/dev/null; changed=$(seconds "$t")
size=$(stat -c %s "$tmp/out/yueyupinying.wmv")
length=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$tmp/out/yueyupinying.wmv")
echo "video bench: from scratch ${scratch} s, one text changed ${changed} s, unchanged ${cached} s;" \
     "$(python3 -c "print(f'{$size/1e6:.1f} MB, {$length:.1f} s long')")"
# Machine-readable: FIGURE <tab> name <tab> value <tab> unit (collected by ./benchmarks).
printf 'FIGURE\tvideo_scratch_s\t%s\ts\nFIGURE\tvideo_changed_s\t%s\ts\nFIGURE\tvideo_unchanged_s\t%s\ts\n' \
       "$scratch" "$changed" "$cached"
