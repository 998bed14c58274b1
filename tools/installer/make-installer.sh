#!/bin/sh
# Builds the installer from a finished build: make-installer.sh <build dir> <output .exe>
# It installs the files of the one install list (manifest.py), as ./run's install does.
set -e
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
out=${2:?usage: make-installer.sh <build dir> <output .exe>}
stage="$build/installer-stage"
rm -rf "$stage"; mkdir -p "$stage"
manifest="$stage/manifest.tsv"
/usr/bin/python3 "$here/manifest.py" "$build" > "$manifest"

# The staged files under their destinations (app/..., sys/...), and one .nsh with a File line
# per file for the install and a Delete line per file (then its folders) for the uninstall.
list="$stage/files.nsh"
winpath() {
  case $1 in
    app|app/*) p='${APPDIR}'"${1#app}" ;;
    sys|sys/*) p='$SYSDIR'"${1#sys}" ;;
    *) echo "make-installer: unknown destination $1" >&2; exit 1 ;;
  esac
  printf '%s' "$p" | tr / '\\'
}
{
  echo '!ifndef UNINSTALLING'
  outdir=
  while IFS='	' read -r dest src; do
    mkdir -p "$stage/$(dirname "$dest")"
    ln -f "$src" "$stage/$dest" 2>/dev/null || cp "$src" "$stage/$dest"
    dir=$(winpath "$(dirname "$dest")")
    [ "$dir" = "$outdir" ] || { printf '  SetOutPath "%s"\n' "$dir"; outdir=$dir; }
    printf '  File "${STAGE}\\%s"\n' "$(printf '%s' "$dest" | tr / '\\')"
  done < "$manifest"
  echo '!else'
  while IFS='	' read -r dest src; do
    printf '  Delete "%s"\n' "$(winpath "$dest")"
  done < "$manifest"
  # Folders of the program's own, deepest first; the program folder itself goes last, in the script.
  cut -f1 "$manifest" | grep '^app/.*/' | sed 's|/[^/]*$||' | sort -u -r | while read -r d; do
    printf '  RMDir "%s"\n' "$(winpath "$d")"
  done
  echo '!endif'
} > "$list"
count=$(grep -c '^app/sound/.*\.wav	' "$manifest")
echo "== building the installer ($(wc -l < "$manifest") files, $count recordings)"
# -WX: a warning (such as a name that makes Windows load compatibility shims) fails the build.
# makensis takes Windows-style paths on Linux too when they use forward slashes; give it ours.
makensis -V2 -WX -INPUTCHARSET UTF8 -DSTAGE="$stage" -DFILELIST="$list" -DOUTFILE="$out" "$here/lorvane.nsi"
echo "== installer: $out ($(du -h "$out" | cut -f1))"
