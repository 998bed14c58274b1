#!/bin/sh
# Installs the installer silently into a fresh Wine prefix, checks that it installed the same
# files as ./run's install (tools/wine/install-files.sh) does, starts the installed program,
# checks that it reads a character aloud (the spelling shows), then uninstalls and checks that
# everything the installer put there is gone and nothing else is.
#   install_test.sh <build dir> <installer exe> <probe exe>
set -e
build=$1; installer=$2; probe=$3
root=$(cd "$(dirname "$0")/../.." && pwd)
fail() { echo "FAIL: $*"; exit 1; }

template="$build/wineprefix-template"
WINEPREFIX="$template" "$root/tools/wine/setup-prefix.sh"
export WINEPREFIX="$build/wineprefix-installer"
rm -rf "$WINEPREFIX"; cp -a "$template" "$WINEPREFIX"
. "$root/tools/wine/env.sh"
if [ -z "$DISPLAY" ]; then
  . "$root/tools/wine/xvfb.sh"; start_xvfb
fi
files_prefix="$build/wineprefix-install-files"
trap 'wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX" "$files_prefix"; [ -n "$XVFB_PID" ] && kill $XVFB_PID' EXIT

app="$WINEPREFIX/drive_c/Program Files/Lorvane"
sys="$WINEPREFIX/drive_c/windows/system32"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/粤语拼音学习"
# What lies in the folders the installer writes to, to see that the uninstaller takes only its own.
listing() { find "$sys" "$WINEPREFIX/drive_c/Program Files" | sort | md5sum; }
before=$(listing)
# The session's background services must not hold CTest's output pipes open.
wine cmd /c exit </dev/null >/dev/null 2>&1 || true

wine "$installer" /S
wineserver -w
for f in Lorvane.exe SkinH.dll LICENSE.txt xunlian.txt yueyupinying.wmv uninstall.exe; do
  [ -f "$app/$f" ] || fail "$f was not installed"
done
[ -f "$sys/abc.mp3" ] || fail "the dictionary is not in the 64-bit system folder"
[ ! -f "$WINEPREFIX/drive_c/windows/syswow64/abc.mp3" ] || fail "the dictionary went to the 32-bit system folder"
cmp -s "$sys/abc.mp3" "$build/data/abc.mp3" || fail "the installed dictionary differs from the built one"
want=$(ls "$build/data/sound" | grep -c '\.wav$')
got=$(ls "$app/sound" | grep -c '\.wav$')
[ "$want" = "$got" ] || fail "$got of $want recordings installed"
[ -f "$menu/粤语拼音学习.lnk" ] || fail "no Start-menu shortcut"
credit="$app/sound/CREDITS.txt"
grep -q "粵音資料集叢" "$credit" && grep -q "CC BY-SA 4.0" "$credit" \
  && grep -q "https://creativecommons.org/licenses/by-sa/4.0/" "$credit" \
  || fail "the recordings' credit (attribution, licence and its link) is not installed beside them"
echo "installed: $got recordings with their credit, dictionary, program, notices, video, shortcut"

# ./run's install puts the same files there: names and sizes of both trees (the installer's
# own uninstaller aside). It fails, naming the file, when the build did not make one.
tree() { (cd "$1/drive_c" && find "Program Files/Lorvane" windows/system32/abc.mp3 -type f \
          ! -path "Program Files/Lorvane/uninstall.exe" -printf '%p %s\n' | sort); }
rm -rf "$files_prefix"
WINEPREFIX="$files_prefix" "$root/tools/wine/install-files.sh" "$build" >/dev/null
tree "$WINEPREFIX" > "$build/installed-by-installer.txt"
tree "$files_prefix" > "$build/installed-by-install-files.txt"
diff "$build/installed-by-installer.txt" "$build/installed-by-install-files.txt" \
  || fail "the installer and install-files.sh install different files (< installer, > install-files.sh)"
echo "same files from both installs: $(wc -l < "$build/installed-by-installer.txt")"
empty=$(mktemp -d)
if out=$(WINEPREFIX="$files_prefix" "$root/tools/wine/install-files.sh" "$empty" 2>&1); then
  fail "install-files.sh installed from a build folder that holds nothing"
fi
rm -rf "$empty"
echo "$out" | grep -q "$empty/bin/Lorvane.exe" || fail "install-files.sh did not name the missing file: $out"

wine 'C:\Program Files\Lorvane\Lorvane.exe' &
prog=$!
wine "$probe" nei5 4f60 || fail "the installed program did not read 你 as nei5"
i=0
while kill -0 $prog 2>/dev/null && [ $i -lt 150 ]; do sleep 0.2; i=$((i + 1)); done
if kill -0 $prog 2>/dev/null; then fail "the program did not end after its window was closed"; fi

# Its exit status says nothing: it hands the work to its copy in the temporary folder.
wine 'C:\Program Files\Lorvane\uninstall.exe' /S || true
# The uninstaller runs a copy of itself from the temporary folder and returns at once.
i=0
while [ -e "$app" ] && [ $i -lt 150 ]; do sleep 0.2; i=$((i + 1)); done
wineserver -w || true
[ ! -e "$app" ] || fail "the program folder is still there: $(ls "$app")"
[ ! -e "$sys/abc.mp3" ] || fail "the dictionary is still there"
[ ! -e "$menu" ] || fail "the Start-menu folder is still there"
[ "$(listing)" = "$before" ] || fail "the uninstall left the system or program folders different from before the install"
echo "uninstalled"
