"""The sound benchmark's analysis (find-syllables.py), on recordings and captures written
here: the spelling the program reads for each character, syllables found at their gain
and gaps, and a capture with a drop-out counted as broken."""
import os
import sqlite3
import subprocess
import sys
import tempfile
import unittest
import wave

import numpy as np

SCRIPT = os.environ.get("LORVANE_FIND_SYLLABLES",
                        os.path.join(os.path.dirname(__file__), "..", "..", "tools", "benchmarks",
                                     "find-syllables.py"))
RATE = 22050


def run(*args):
    p = subprocess.run([sys.executable, SCRIPT, *args], capture_output=True, text=True)
    return p.returncode, p.stdout, p.stderr


def figures(out):
    return {parts[1]: float(parts[2]) for parts in (line.split("\t") for line in out.splitlines())
            if parts[0] == "FIGURE"}


class FindSyllablesTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.d = self.dir.name

    def tearDown(self):
        self.dir.cleanup()

    def test_spelling_is_the_first_row_of_each_character(self):
        db = os.path.join(self.d, "abc.mp3")
        con = sqlite3.connect(db)
        con.execute("CREATE TABLE cantonesePhonetic (id INTEGER PRIMARY KEY, Character TEXT NOT NULL, "
                    "Phonetic TEXT NOT NULL)")
        con.executemany("INSERT INTO cantonesePhonetic VALUES (?, ?, ?)",
                        [(1, "你", "nei5"), (2, "好", "hou2"), (3, "好", "hou3")])
        con.commit()
        con.close()
        self.assertEqual(run("spellings", db, "你好好")[:2], (0, "nei5\nhou2\nhou2\n"))
        code, out, err = run("spellings", db, "你们")
        self.assertEqual((code, out), (1, ""))
        self.assertIn("们", err)

    def test_syllables_found_at_their_gain_and_gaps_and_a_drop_out_is_broken(self):
        rng = np.random.default_rng(7)
        n = int(RATE * 0.6)
        recordings = {}
        for name in ("aa1", "bb2"):
            recordings[name] = (rng.standard_normal(n) * 3000 * np.hanning(n)).astype("<i2")
            with wave.open(os.path.join(self.d, f"{name}.wav"), "wb") as w:
                w.setnchannels(1)
                w.setsampwidth(2)
                w.setframerate(RATE)
                w.writeframes(recordings[name].tobytes())
        # A character read twice: its first reading a little noisy but whole, the second
        # clean; each is found in turn, not the cleaner one twice.
        names, capture, at = ["aa1", "bb2", "aa1"], np.zeros(RATE * 4), RATE
        for i, name in enumerate(names):
            capture[at:at + n] = np.round(recordings[name] * 0.5) + (rng.standard_normal(n) * 10 if i == 0 else 0)
            at += int(RATE * 0.77)
        whole, broken = os.path.join(self.d, "1.raw"), os.path.join(self.d, "2.raw")
        capture.astype("<i2").tofile(whole)
        capture[RATE + 5000:RATE + 5000 + RATE // 100] = 0  # 10 ms lost from the first syllable
        capture.astype("<i2").tofile(broken)
        with open(os.path.join(self.d, "spellings"), "w") as f:
            f.write("\n".join(names) + "\n")
        code, out, err = run("measure", "program", self.d, os.path.join(self.d, "spellings"), whole, broken)
        self.assertEqual(code, 0, err)
        f = figures(out)
        self.assertEqual((f["sound_program_intact"], f["sound_program_syllables"]), (5, 6))
        self.assertAlmostEqual(f["sound_program_gain_min"], 0.5, places=2)
        self.assertAlmostEqual(f["sound_program_gain_max"], 0.5, places=3)
        # Gaps only between neighbours that both arrived whole: three of them.
        self.assertAlmostEqual(f["sound_program_onset_min_s"], 0.77, places=3)
        self.assertAlmostEqual(f["sound_program_onset_max_s"], 0.77, places=3)
        self.assertAlmostEqual(f["sound_program_silence_ms"], 170, delta=0.1)
        self.assertEqual(out.count("BROKEN"), 1)

if __name__ == "__main__":
    unittest.main()
