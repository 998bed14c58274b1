#!/bin/sh
# Makes $WINEPREFIX ready for the program: a 64-bit prefix with the Chinese locale, the
# dialog fonts ("宋体", "MS Sans Serif") mapped to a font with CJK glyphs, and the classic
# look of the controls.
# Idempotent: a prefix that is already set up costs one stat.
set -e
here=$(cd "$(dirname "$0")" && pwd)
. "$here/env.sh"
stamp="$WINEPREFIX/.lorvane-prefix-v4"
[ -f "$stamp" ] && exit 0
echo "== preparing the Wine prefix $WINEPREFIX (takes about 10 s the first time)"
mkdir -p "$WINEPREFIX"
# wineboot must not leave a display-less wineserver behind for the GUI programs that follow.
DISPLAY= wineboot -u >/dev/null 2>&1 || true
wineserver -w
reg="$WINEPREFIX/lorvane-fonts.reg"
python3 - "$reg" <<'PY'
import sys
# Micro Hei keeps the metrics of the dialog layouts close to those of 宋体 and renders cleanly at 9 pt.
font = "WenQuanYi Micro Hei"
lines = ["Windows Registry Editor Version 5.00", ""]
lines.append(r"[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]")
for name in ["宋体", "新宋体", "SimSun", "NSimSun", "MS Sans Serif", "MS Shell Dlg", "MS Shell Dlg 2",
             "Tahoma", "微软雅黑", "Microsoft YaHei", "黑体", "SimHei"]:
    lines.append(f'"{name}"="{font}"')
lines.append("")
lines.append(r"[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]")
for name in ["宋体", "新宋体", "SimSun", "NSimSun", "MS Sans Serif", "微软雅黑", "Microsoft YaHei", "黑体", "SimHei"]:
    lines.append(f'"{name}"="{font}"')
lines.append("")
# No visual style: the program carries no manifest asking for one, so Windows draws its
# controls in the classic look, and so does Wine now. (Wine's default style draws each
# control from stretched bitmaps, which made the first paint of the main window four
# times slower.)
lines.append(r"[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\ThemeManager]")
lines.append('"ThemeActive"="0"')
lines.append("")
# Wine draws the captions itself, so they show under Xvfb (no window manager) too.
lines.append(r"[HKEY_CURRENT_USER\Software\Wine\X11 Driver]")
lines.append('"Managed"="N"')
lines.append("")
# UTF-16 with a BOM is what regedit reads without regard to the code page.
open(sys.argv[1], "wb").write(("\r\n".join(lines) + "\r\n").encode("utf-16"))
PY
DISPLAY= wine regedit /S "$(winepath -w "$reg" 2>/dev/null)" >/dev/null 2>&1
wineserver -w
# Caption buttons are drawn with Marlett; Wine only finds it in the prefix's own font folder.
if [ -f /usr/share/wine/fonts/marlett.ttf ]; then
  cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
fi
touch "$stamp"
