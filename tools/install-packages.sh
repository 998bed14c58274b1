#!/bin/sh
# Installs the Debian packages that the build, the data tools and the tests need.
# Runs only apt-get for what is missing, so a second run costs a dpkg query.
set -e
PKGS="cmake make g++ mingw-w64 g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
wine wine64 fonts-wine xvfb x11-utils xdotool imagemagick locales
fonts-wqy-zenhei fonts-wqy-microhei fonts-noto-cjk
sox unicode-data rime-data-jyut6ping3 opencc libopencc-data python3 python3-numpy praat
gstreamer1.0-plugins-ugly gstreamer1.0-libav gstreamer1.0-plugins-good gstreamer1.0-plugins-base
ffmpeg nsis googletest ca-certificates pulseaudio pulseaudio-utils"
missing=""
for p in $PKGS; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  echo "== installing Debian packages:$missing"
  SUDO=""; [ "$(id -u)" = 0 ] || SUDO=sudo
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends $missing
fi
if ! locale -a 2>/dev/null | grep -qi '^zh_CN.utf8$'; then
  echo "== generating the zh_CN.UTF-8 locale"
  SUDO=""; [ "$(id -u)" = 0 ] || SUDO=sudo
  $SUDO localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi
