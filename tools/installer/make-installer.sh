#!/bin/sh
# Builds the installer from a finished build: make-installer.sh <build dir> <output .exe>
set -e
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
out=${2:?usage: make-installer.sh <build dir> <output .exe>}
stage="$build/installer-stage"
rm -rf "$stage"; mkdir -p "$stage/sound"
for f in "$build/bin/Lorvane.exe" "$build/bin/SkinH.dll" "$build/data/xunlian.txt" \
         "$build/data/yueyupinying.wmv" "$build/data/abc.mp3"; do
  [ -f "$f" ] || { echo "make-installer: $f is missing; build everything first" >&2; exit 1; }
  ln -f "$f" "$stage/" 2>/dev/null || cp "$f" "$stage/"
done
credits="$build/data/sound/CREDITS.txt"
[ -f "$credits" ] || { echo "make-installer: $credits is missing; build everything first" >&2; exit 1; }
list="$stage/files.nsh"
: > "$list"
count=0
for f in "$build/data/sound/"*.wav "$credits"; do
  name=$(basename "$f")
  ln -f "$f" "$stage/sound/$name" 2>/dev/null || cp "$f" "$stage/sound/$name"
  case $name in *.wav) count=$((count + 1)) ;; esac
done
# One line per recording and the recordings' credit, for the install and for the uninstall.
{
  echo '!ifdef UNINSTALLING'
  for f in "$stage/sound/"*; do printf '  Delete "${APPDIR}\\sound\\%s"\n' "$(basename "$f")"; done
  echo '!else'
  for f in "$stage/sound/"*; do printf '  File "${STAGE}\\sound\\%s"\n' "$(basename "$f")"; done
  echo '!endif'
} > "$list"
echo "== building the installer ($count recordings)"
# -WX: a warning (such as a name that makes Windows load compatibility shims) fails the build.
# makensis takes Windows-style paths on Linux too when they use forward slashes; give it ours.
makensis -V2 -WX -INPUTCHARSET UTF8 -DSTAGE="$stage" -DFILELIST="$list" -DOUTFILE="$out" "$here/lorvane.nsi"
echo "== installer: $out ($(du -h "$out" | cut -f1))"
