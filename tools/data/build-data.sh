#!/bin/sh
# Builds the dictionary, the recordings and the practice text into OUTDIR.
# Uses Debian's own Python so that the SQLite library, and so the bytes of the
# database, are those of the installed packages.
set -e
if [ $# -ne 1 ]; then
  echo "usage: $0 OUTDIR" >&2
  exit 2
fi
here=$(cd "$(dirname "$0")" && pwd)
py=/usr/bin/python3
[ -x "$py" ] || py=python3
exec "$py" "$here/build_data.py" "$1"
