#!/bin/sh
# Installs the built program and its data at the program's fixed paths in $WINEPREFIX:
#   C:\Program Files\Lorvane\  and  C:\WINDOWS\system32\abc.mp3
set -e
here=$(cd "$(dirname "$0")" && pwd)
. "$here/env.sh"
build=$1
dest="$WINEPREFIX/drive_c/Program Files/Lorvane"
mkdir -p "$dest/sound"
cp -u "$build/bin/Lorvane.exe" "$dest/"
[ -f "$build/bin/SkinH.dll" ] && cp -u "$build/bin/SkinH.dll" "$dest/"
data="$build/data"
[ -f "$data/xunlian.txt" ] && cp -u "$data/xunlian.txt" "$dest/"
[ -f "$data/yueyupinying.wmv" ] && cp -u "$data/yueyupinying.wmv" "$dest/"
[ -d "$data/sound" ] && cp -u "$data/sound/"*.wav "$dest/sound/"
[ -f "$data/abc.mp3" ] && cp -u "$data/abc.mp3" "$WINEPREFIX/drive_c/windows/system32/abc.mp3"
echo "== installed into $dest"
