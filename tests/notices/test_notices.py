"""The notices file installed beside the program (LICENSE.txt, from tools/notices/assemble.py)."""
import os
import shutil
import subprocess
import tempfile
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
ASSEMBLE = os.path.join(ROOT, "tools", "notices", "assemble.py")
NOTICES = os.environ.get("LORVANE_NOTICES", os.path.join(ROOT, "build", "notices", "LICENSE.txt"))
MAPS = os.environ.get("LORVANE_NOTICES_DIR", os.path.dirname(NOTICES))
BUILD = os.environ.get("LORVANE_BUILD_DIR", os.path.join(ROOT, "build"))
SQLITE_C = os.environ.get("LORVANE_SQLITE_C", "")
RIME = "/usr/share/doc/rime-data-jyut6ping3/copyright"

# What each licence must leave in the file: its name or header and the words that identify
# its text, as a reader looks for them.
REQUIRED = {
    "our code (MIT)": ["Copyright (c) 2024 Lorvane 粤语工作室", "MIT License",
                       "Permission is hereby granted, free of charge"],
    "recordings and video (CC BY-SA 4.0)": ["「粵音資料集叢」", "https://creativecommons.org/licenses/by-sa/4.0/",
                                            "jyutnet/jyutnet-cantonese-syllables", "学习视频",
                                            "Section 5 -- Disclaimer of Warranties"],
    "Rime's tables (CC BY 4.0)": ["https://github.com/rime/rime-cantonese", "CC BY 4.0",
                                  "https://creativecommons.org/licenses/by/4.0/", "selected, ranked and merged"],
    "Unihan (Unicode licence)": ["UNICODE, INC. LICENSE AGREEMENT", "COPYRIGHT AND PERMISSION NOTICE"],
    "OpenCC (Apache-2.0)": ["BYVoid", "Apache License", "TERMS AND CONDITIONS FOR USE, REPRODUCTION"],
    "SQLite (public domain)": ["The author disclaims copyright to this source code"],
    "MinGW-w64 CRT (ZPL-2.1)": ["License: ZPL-2.1", "Names of the copyright holders must not be used"],
    "gdtoa (Lucent)": ["Lucent Technologies", "LUCENT DISCLAIMS ALL WARRANTIES"],
    "winpthreads (MIT/expat, BSD-3)": ["mingw-w64-libraries/winpthreads/*", "License: expat",
                                       "License: BSD-3-clause-Lockless", "Lockless Inc."],
    "GCC runtime (GPL-3 with the runtime exception)": ["GCC RUNTIME LIBRARY EXCEPTION",
                                                       "Version 3.1, 31 March 2009", "Hewlett-Packard Company"],
}


def assemble(out, env=None, maps=None):
    maps = maps or [f"Lorvane.exe={MAPS}/Lorvane.map", f"SkinH.dll={MAPS}/SkinH.map"]
    args = ["/usr/bin/python3", ASSEMBLE, out, "--build-dir", BUILD, "--sqlite", SQLITE_C]
    for m in maps:
        args += ["--map", m]
    return subprocess.run(args, capture_output=True, text=True, env=dict(os.environ, **(env or {})))


class NoticesTest(unittest.TestCase):
    def test_built_file_carries_every_licence(self):
        with open(NOTICES, encoding="utf-8-sig") as f:
            text = f.read()
        for part, phrases in REQUIRED.items():
            with self.subTest(part):
                for p in phrases:
                    self.assertTrue(p in text, f"{part}: {p!r} is not in {NOTICES}")
        # Rime's contributors as its copyright file lists them, every one.
        with open(RIME, encoding="utf-8") as f:
            rime = f.read().split("\n\n")[1]
        for who in [l.strip() for l in rime.splitlines() if l.startswith(" ")]:
            self.assertTrue(who in text, f"Rime's contributor {who!r} is not in {NOTICES}")

    def test_missing_source_fails_naming_it(self):
        sources = ["usr/share/doc/rime-data-jyut6ping3/copyright", "usr/share/doc/unicode-data/copyright",
                   "usr/share/doc/libopencc-data/copyright", "usr/share/common-licenses/Apache-2.0",
                   "usr/share/doc/mingw-w64-x86-64-dev/copyright", "usr/share/doc/gcc-mingw-w64-base/copyright"]
        for gone in sources:
            with self.subTest(gone), tempfile.TemporaryDirectory() as root:
                for s in sources:
                    if s != gone:
                        os.makedirs(os.path.dirname(os.path.join(root, s)), exist_ok=True)
                        shutil.copy(os.path.join("/", s), os.path.join(root, s))
                out = os.path.join(root, "LICENSE.txt")
                run = assemble(out, env={"LORVANE_NOTICES_SYSROOT": root})
                self.assertEqual(run.returncode, 1, run.stdout + run.stderr)
                self.assertIn(os.path.join(root, gone), run.stderr)
                self.assertFalse(os.path.exists(out))

    def test_archive_without_a_notice_fails_naming_it(self):
        with tempfile.TemporaryDirectory() as d:
            stray = os.path.join(d, "libstray.a")
            open(stray, "w").close()
            with open(os.path.join(MAPS, "Lorvane.map"), encoding="utf-8", errors="replace") as f:
                text = f.read()
            map_path = os.path.join(d, "Lorvane.map")
            with open(map_path, "w", encoding="utf-8") as f:
                f.write(text.replace("Archive member included to satisfy reference by file (symbol)\n\n",
                                     f"Archive member included to satisfy reference by file (symbol)\n\n"
                                     f"{stray}(stray.o)\n                              x.o (y)\n", 1))
            run = assemble(os.path.join(d, "LICENSE.txt"), maps=[f"Lorvane.exe={map_path}"])
            self.assertEqual(run.returncode, 1, run.stdout + run.stderr)
            self.assertIn(f"Lorvane.exe links {stray}", run.stderr)


if __name__ == "__main__":
    unittest.main()
