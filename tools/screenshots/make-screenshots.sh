#!/bin/sh
# Screenshots of the program's three pages, made by the build under Xvfb:
#   tools/screenshots/make-screenshots.sh [BUILD_DIR] [OUTDIR]
# (defaults: $BUILD_DIR or build, and docs/screenshots). Builds the program, its data and
# the driver, installs them into a throwaway Wine prefix, starts Lorvane.exe on a fresh Xvfb
# and drives it from another process (screenshot_driver) like a learner; after each step the
# screen is captured and cut to the program's window:
#   lookup.png    单词查询 after a look-up, a spelling in the 音标 label
#   training.png  拼音训练 with a character falling and the statistics after two answers
#   study.png     拼音学习 after the video notice, a frame of the video and the control row
set -e
root=$(cd "$(dirname "$0")/../.." && pwd)
BUILD_DIR=${1:-${BUILD_DIR:-$root/build}}
case "$BUILD_DIR" in /*) ;; *) BUILD_DIR="$(pwd)/$BUILD_DIR" ;; esac
OUTDIR=${2:-$root/docs/screenshots}
export BUILD_DIR
fail() { echo "make-screenshots: $*" >&2; exit 1; }

"$root/tools/build.sh" --target install_set screenshot_driver
driver="$BUILD_DIR/bin/screenshot_driver.exe"
[ -f "$driver" ] || fail "the driver was not built: $driver"

# A throwaway prefix, copied from the build's template (made once, as ./test does).
template="$BUILD_DIR/wineprefix-template"
WINEPREFIX="$template" "$root/tools/wine/setup-prefix.sh"
work=$(mktemp -d /tmp/lorvane-screenshots.XXXXXX)
export WINEPREFIX="$work/prefix"
cp -a "$template" "$WINEPREFIX"
"$root/tools/wine/install-files.sh" "$BUILD_DIR" >/dev/null
. "$root/tools/wine/env.sh"
. "$root/tools/wine/xvfb.sh"
start_xvfb
prog=
cleanup() {
  wineserver -k 2>/dev/null || true
  [ -z "$prog" ] || kill "$prog" 2>/dev/null || true
  stop_xvfb || true
  rm -rf "$work"
}
trap cleanup EXIT
trap "exit 1" INT TERM
echo "== starting the program under Xvfb on $DISPLAY (WINEPREFIX=$WINEPREFIX)"
wineserver -p
wine 'C:\Program Files\Lorvane\Lorvane.exe' >"$work/program.log" 2>&1 &
prog=$!
mkdir -p "$OUTDIR"

# step NAME ARGS...: runs the driver (at most 120 s), then captures the screen and cuts it
# to the window rectangle the driver printed.
shot() {
  name=$1; shift
  echo "== $name: screenshot_driver $*"
  if ! timeout 120 wine "$driver" "$@" >"$work/$name.log" 2>&1; then
    sed 's/\r$//' "$work/$name.log" >&2
    kill -0 "$prog" 2>/dev/null || echo "(the program has ended; its output: $(tail -5 "$work/program.log"))" >&2
    fail "the $name step failed"
  fi
  sed 's/\r$//' "$work/$name.log" | grep -v '^WINDOW ' | sed 's/^/   /'
  set -- $(sed -n 's/\r$//; s/^WINDOW //p' "$work/$name.log")
  [ $# -eq 4 ] || fail "the driver printed no window rectangle for $name"
  import -window root "$work/screen.png"
  convert "$work/screen.png" -crop "${3}x${4}+${1}+${2}" +repage "$OUTDIR/$name.png"
  # A blank or nearly blank picture means nothing was drawn.
  colours=$(identify -format %k "$OUTDIR/$name.png")
  [ "$colours" -gt 16 ] || fail "$OUTDIR/$name.png has only $colours colours: the window was not drawn"
  echo "   saved $OUTDIR/$name.png (${3}x${4})"
}

shot lookup lookup
shot training training
shot study study 6000
timeout 30 wine "$driver" close >/dev/null 2>&1 || true
echo "== screenshots in $OUTDIR"
