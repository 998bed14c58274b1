#!/bin/sh
# Makes the study video OUTDIR/yueyupinying.wmv from slides.json.
# usage: make-video.sh OUTDIR [WORKDIR]
# WORKDIR (default OUTDIR/.yueyupinying-work) keeps the spoken pieces and slide pictures,
# so a rerun redoes only what changed, and nothing at all when no input changed.
set -e
if [ $# -lt 1 ] || [ $# -gt 2 ]; then
  echo "usage: $0 OUTDIR [WORKDIR]" >&2
  exit 2
fi
here=$(dirname "$0")
exec python3 -B "$here/build.py" "$1" "${2:-$1/.yueyupinying-work}"
