#!/bin/sh
# Measures what reaches a real sound server when the installed program reads a text aloud,
# beside the same recordings played by Wine's own PlaySound (bench_sound.exe) in the same
# run. A private PulseAudio server with a null sink takes the sound; its monitor is
# recorded, and tools/benchmarks/find-syllables.py finds each syllable's recording in the
# capture and prints how many arrived intact, at which gain and with what gaps (and FIGURE
# lines for ./benchmarks).
#   BUILD_DIR      build folder with Lorvane.exe, the data, screenshot_driver.exe and
#                  bench_sound.exe (./benchmarks builds them)
#   SOUND_TEXT     the text read aloud (default 我想学广东话你好)
#   SOUND_ROUNDS   how many times each is played (default 3)
# The captures are kept in $BUILD_DIR/sound-captures (program-N.wav, playsound-N.wav).
# Exit status 0 when every round was played and measured, whatever the figures.
set -e
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/tools/build-dir.sh"
text=${SOUND_TEXT:-我想学广东话你好}
rounds=${SOUND_ROUNDS:-3}
bin="$BUILD_DIR/bin"
find="$root/tools/benchmarks/find-syllables.py"
# Debian's own Python, which has the packaged numpy.
py=/usr/bin/python3
[ -x "$py" ] || py=python3
fail() { echo "sound bench: $*" >&2; exit 1; }
for f in Lorvane.exe screenshot_driver.exe bench_sound.exe; do
  [ -f "$bin/$f" ] || fail "$bin/$f is missing: build it first (./benchmarks sound does)"
done
[ -f "$BUILD_DIR/data/abc.mp3" ] || fail "no dictionary in $BUILD_DIR/data: build the target 'data' first"

work=$(mktemp -d /tmp/lorvane-sound.XXXXXX)
pa= prog= rec= prefix=
cleanup() {
  [ -z "$rec" ] || kill "$rec" 2>/dev/null || true
  [ -z "$prefix" ] || WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
  [ -z "$prog" ] || kill "$prog" 2>/dev/null || true
  [ -z "$pa" ] || { kill "$pa" 2>/dev/null; wait "$pa" 2>/dev/null; } || true
  stop_xvfb 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
trap "exit 1" INT TERM

"$py" "$find" spellings "$BUILD_DIR/data/abc.mp3" "$text" >"$work/spellings"
echo "text: $text -> $(tr '\n' ' ' <"$work/spellings")"
files=""
for s in $(cat "$work/spellings"); do
  [ -f "$BUILD_DIR/data/sound/$s.wav" ] || fail "no recording $s.wav in $BUILD_DIR/data/sound"
  files="$files $s.wav"
done

# The sound server: a null sink at the recordings' format, so nothing is resampled on the
# way. Its files and the clients' (cookie, runtime folder) stay in the work folder; so
# does HOME for the server, which writes there even when told where to keep its state.
export PULSE_SERVER="unix:$work/native" PULSE_COOKIE="$work/cookie"
export PULSE_RUNTIME_PATH="$work/run" PULSE_STATE_PATH="$work/state"
HOME="$work" XDG_CONFIG_HOME="$work" pulseaudio -n --daemonize=no --exit-idle-time=-1 --log-target=stderr \
    -L "module-null-sink sink_name=cap rate=22050 channels=1" \
    -L "module-native-protocol-unix socket=$work/native auth-anonymous=1 auth-cookie-enabled=0" \
    >"$work/pulseaudio.log" 2>&1 &
pa=$!
i=0
until pactl info >/dev/null 2>&1; do
  i=$((i + 1))
  [ $i -lt 100 ] && kill -0 $pa 2>/dev/null || fail "the PulseAudio server did not start: $(tail -3 "$work/pulseaudio.log")"
  sleep 0.1
done
pactl set-default-sink cap

# A prefix of its own, copied from the build's template; Wine 8 picks its PulseAudio
# driver by itself when PULSE_SERVER answers.
template="$BUILD_DIR/wineprefix-template"
WINEPREFIX="$template" "$root/tools/wine/setup-prefix.sh"
prefix="$work/prefix"
export WINEPREFIX="$prefix"
cp -a "$template" "$WINEPREFIX"
"$root/tools/wine/install-files.sh" "$BUILD_DIR" >/dev/null
. "$root/tools/wine/env.sh"
. "$root/tools/wine/xvfb.sh"
start_xvfb
wineserver -p
wine 'C:\Program Files\Lorvane\Lorvane.exe' >"$work/program.log" 2>&1 &
prog=$!

# record NAME COMMAND...: records the monitor while COMMAND runs. parec is given a second
# before the sound (the monitor drops what plays while the sink wakes up) and one after.
record() {
  name=$1; shift
  parec -d cap.monitor --format=s16le --rate=22050 --channels=1 --latency-msec=20 >"$work/$name.raw" &
  rec=$!
  sleep 1
  if ! timeout 120 "$@" >"$work/$name.log" 2>&1; then
    sed 's/\r$//' "$work/$name.log" >&2
    fail "$name: '$*' failed"
  fi
  sleep 1
  kill $rec; wait $rec 2>/dev/null || true; rec=
}

# PlaySound is given the installed recordings by name, from the sound folder.
cd "$WINEPREFIX/drive_c/Program Files/Lorvane/sound"
programs= references=
n=1
while [ $n -le "$rounds" ]; do
  echo "== round $n of $rounds: load $(cut -d' ' -f1-3 /proc/loadavg)"
  record program-$n wine "$bin/screenshot_driver.exe" lookup "$text"
  # shellcheck disable=SC2086
  record playsound-$n wine "$bin/bench_sound.exe" $files
  programs="$programs $work/program-$n.raw"; references="$references $work/playsound-$n.raw"
  n=$((n + 1))
done
timeout 30 wine "$bin/screenshot_driver.exe" close >/dev/null 2>&1 || true

echo "load at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
# The captures stay for listening, as WAV files.
kept="$BUILD_DIR/sound-captures"
rm -rf "$kept"; mkdir -p "$kept"
for raw in $programs $references; do
  sox -t raw -r 22050 -e signed -b 16 -c 1 "$raw" "$kept/$(basename "$raw" .raw).wav"
done
echo "captures: $kept"
# shellcheck disable=SC2086
"$py" "$find" measure program "$BUILD_DIR/data/sound" "$work/spellings" $programs
# shellcheck disable=SC2086
"$py" "$find" measure playsound "$BUILD_DIR/data/sound" "$work/spellings" $references
