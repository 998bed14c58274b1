"""The one list of the files an install puts on the machine, read by both installs: the
Windows installer (make-installer.sh) and the copy into a Wine prefix (install-files.sh).

    manifest.py BUILD_DIR

prints one line per file: its destination, a tab, its path in the build folder.
A destination starts with "app/" (C:\\Program Files\\Lorvane) or "sys/" (the 64-bit
C:\\Windows\\System32, where the program reads its dictionary), then the path below it.
Every spelling in the built dictionary has its recording in the list. Files the build did
not make fail it, each named, and nothing is printed.
"""
import os
import sys

TOOLS = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(TOOLS, "data"))

import build_data  # noqa: E402  (the data's file names and its list of spellings)


def entries(build):
    data = os.path.join(build, "data")
    sound = os.path.join(data, build_data.SOUND_DIR)
    out = [("app/Lorvane.exe", os.path.join(build, "bin", "Lorvane.exe")),
           ("app/SkinH.dll", os.path.join(build, "bin", "SkinH.dll")),
           ("app/LICENSE.txt", os.path.join(build, "notices", "LICENSE.txt")),
           ("app/" + build_data.TEXT_NAME, os.path.join(data, build_data.TEXT_NAME)),
           ("app/yueyupinying.wmv", os.path.join(data, "yueyupinying.wmv")),
           ("sys/" + build_data.DB_NAME, os.path.join(data, build_data.DB_NAME))]
    db = os.path.join(data, build_data.DB_NAME)
    names = [s + ".wav" for s in build_data.db_spellings(db)] if os.path.isfile(db) else []
    names += list(build_data.SIGNALS) + [build_data.CREDITS_NAME]
    out += [(f"app/{build_data.SOUND_DIR}/{n}", os.path.join(sound, n)) for n in sorted(set(names))]
    return out


def main(argv):
    if len(argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    build = os.path.abspath(argv[1])
    rows = entries(build)
    missing = [src for _, src in rows if not os.path.isfile(src)]
    if missing:
        print("manifest: the build did not make these files; build everything first:\n  "
              + "\n  ".join(missing), file=sys.stderr)
        return 1
    sys.stdout.write("".join(f"{dest}\t{src}\n" for dest, src in rows))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
