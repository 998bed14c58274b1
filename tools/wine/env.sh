# Sourced by the Wine scripts: the environment every Wine process of the project shares.
# WINEPREFIX: the caller's, else the project's own.
: "${WINEPREFIX:=$HOME/.local/share/lorvane/wineprefix}"
export WINEPREFIX
export WINEARCH=win64
export LC_ALL=zh_CN.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG="${WINEDEBUG:--all}"
