#!/bin/sh
# Installs the built program and its data at the program's fixed paths in $WINEPREFIX:
#   C:\Program Files\Lorvane\  and  C:\WINDOWS\system32\abc.mp3
# The files are those of the one install list (tools/installer/manifest.py), as the Windows
# installer's; a file the build did not make fails the install, named.
set -e
here=$(cd "$(dirname "$0")" && pwd)
. "$here/env.sh"
build=${1:?usage: install-files.sh <build dir>}
manifest=$(/usr/bin/python3 "$here/../installer/manifest.py" "$build")
app="$WINEPREFIX/drive_c/Program Files/Lorvane"
sys="$WINEPREFIX/drive_c/windows/system32"
printf '%s\n' "$manifest" | while IFS='	' read -r dest src; do
  case $dest in
    app/*) to="$app/${dest#app/}" ;;
    sys/*) to="$sys/${dest#sys/}" ;;
    *) echo "install-files: unknown destination $dest" >&2; exit 1 ;;
  esac
  mkdir -p "$(dirname "$to")"
  cp -u "$src" "$to"
done
echo "== installed into $app"
