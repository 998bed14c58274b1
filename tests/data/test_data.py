"""Checks the data the build made: the dictionary the program reads with
"select * from cantonesePhonetic", the recordings it plays and the practice
text it loads.  LORVANE_DATA_DIR is the built data folder, LORVANE_DATA_TOOLS
the folder of the builder."""
import array
import collections
import filecmp
import hashlib
import math
import operator
import os
import re
import shutil
import sqlite3
import subprocess
import sys
import tempfile
import unittest
import wave

DATA = os.environ.get("LORVANE_DATA_DIR", "")
TOOLS = os.environ.get("LORVANE_DATA_TOOLS", "")
SYLLABLES = os.path.join(TOOLS, "..", "..", "third_party", "jyutnet-syllables")
sys.path.insert(0, TOOLS)

SPELLING = re.compile(r"^[a-z]+[1-6]$")


def read_rows():
    con = sqlite3.connect(f"file:{os.path.join(DATA, 'abc.mp3')}?mode=ro", uri=True)
    try:
        cur = con.execute("select * from cantonesePhonetic")
        names = [d[0] for d in cur.description]
        return names, cur.fetchall()
    finally:
        con.close()


def first_rows(rows):
    first = {}
    for _, ch, spelling in rows:
        first.setdefault(ch, spelling)
    return first


def readings(rows):
    out = collections.defaultdict(list)
    for _, ch, spelling in rows:
        out[ch].append(spelling)
    return out


def run_builder(outdir, env_extra=None):
    env = dict(os.environ, **(env_extra or {}))
    return subprocess.run(["sh", os.path.join(TOOLS, "build-data.sh"), outdir],
                          capture_output=True, text=True, env=env)


class DataTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        if not os.path.isfile(os.path.join(DATA, "abc.mp3")):
            raise unittest.SkipTest("no built data in LORVANE_DATA_DIR")
        cls.names, cls.rows = read_rows()
        cls.first = first_rows(cls.rows)
        cls.readings = readings(cls.rows)


class TableTest(DataTest):
    def test_three_columns_by_position(self):
        self.assertEqual(len(self.names), 3)
        self.assertTrue(all(len(r) == 3 for r in self.rows))

    def test_ids_increase_in_the_order_rows_are_read(self):
        ids = [r[0] for r in self.rows]
        self.assertEqual(ids, list(range(1, len(ids) + 1)))

    def test_character_is_one_utf16_code_unit(self):
        bad = [r for r in self.rows if not (isinstance(r[1], str) and len(r[1]) == 1
               and ord(r[1]) < 0x10000 and not 0xD800 <= ord(r[1]) < 0xE000)]
        self.assertEqual(bad, [])

    def test_spelling_is_lower_case_jyutping_ending_in_its_tone(self):
        bad = [r for r in self.rows if not (isinstance(r[2], str) and SPELLING.match(r[2]))]
        self.assertEqual(bad, [])

    def test_rows_of_one_character_are_together_and_distinct(self):
        seen, last = set(), None
        for _, ch, _ in self.rows:
            if ch != last:
                self.assertNotIn(ch, seen, f"{ch} appears in two runs of rows")
                seen.add(ch)
                last = ch
        for ch, rs in self.readings.items():
            self.assertEqual(len(rs), len(set(rs)), ch)

    def test_common_characters_come_before_rare_ones(self):
        # The program scans from the first row; everyday characters sit early.
        position = {ch: n for n, (_, ch, _) in reversed(list(enumerate(self.rows)))}
        for ch in "我你好的是人":
            self.assertLess(position[ch], 1000, ch)


class ReadingsTest(DataTest):
    def test_well_known_first_readings(self):
        known = {"你": "nei5", "好": "hou2", "广": "gwong2", "廣": "gwong2", "学": "hok6",
                 "學": "hok6", "说": "syut3", "說": "syut3", "们": "mun4", "們": "mun4",
                 "这": "ze5", "這": "ze5", "东": "dung1", "東": "dung1", "語": "jyu5",
                 "语": "jyu5", "粵": "jyut6", "粤": "jyut6"}
        self.assertEqual({c: self.first.get(c) for c in known}, known)

    def test_characters_with_several_readings(self):
        known = {"行": "hang4", "长": "coeng4", "長": "coeng4", "乐": "lok6", "樂": "lok6",
                 "的": "dik1", "了": "liu5", "都": "dou1", "地": "dei6", "会": "wui5",
                 "會": "wui5", "还": "waan4", "還": "waan4", "得": "dak1", "上": "soeng6",
                 "下": "haa6", "大": "daai6", "为": "wai6", "為": "wai6", "和": "wo4",
                 "只": "zi2", "隻": "zek3", "干": "gon1", "乾": "gon1", "幹": "gon3",
                 "发": "faat3", "髮": "faat3", "系": "hai6", "係": "hai6", "着": "zoek6"}
        self.assertEqual({c: self.first.get(c) for c in known}, known)

    def test_other_readings_are_kept_after_the_first(self):
        for ch, other in (("行", "hong4"), ("长", "zoeng2"), ("乐", "ngok6"),
                          ("重", "cung4"), ("会", "wui6"), ("干", "gon3")):
            self.assertIn(other, self.readings[ch][1:], ch)

    def test_simplified_form_reads_as_its_traditional_form(self):
        for s, t in (("广", "廣"), ("这", "這"), ("们", "們"), ("发", "發"), ("为", "為")):
            self.assertEqual(self.first[s], self.first[t], s + t)

    def test_gb2312_and_big5_are_covered(self):
        import charsets
        gb = [c for c in charsets.gb2312_hanzi() if c not in self.first]
        big5 = [c for c in charsets.big5_hanzi() if c not in self.first]
        self.assertLessEqual(len(gb), 5, "".join(gb))
        self.assertLessEqual(len(big5), 10, "".join(big5))

    def test_spot_check_list_agrees(self):
        from dictionary import read_tsv
        pairs = read_tsv(os.path.join(TOOLS, "spotcheck.tsv"))
        self.assertGreaterEqual(len(pairs), 150)
        agree = [c for c, r in pairs if self.first.get(c) == r]
        several = [(c, r) for c, r in pairs if len(self.readings.get(c, [])) > 1]
        several_agree = [c for c, r in several if self.first.get(c) == r]
        misses = [(c, r, self.first.get(c)) for c, r in pairs if self.first.get(c) != r]
        self.assertGreaterEqual(len(agree) / len(pairs), 0.98, misses)
        self.assertGreaterEqual(len(several_agree) / len(several), 0.95, misses)


class RecordingsTest(DataTest):
    def sound(self, name):
        return os.path.join(DATA, "sound", name)

    def test_every_spelling_has_a_recording(self):
        spellings = {r[2] for r in self.rows}
        missing = sorted(s for s in spellings if not os.path.isfile(self.sound(s + ".wav")))
        self.assertEqual(missing, [])

    def test_recordings_are_mono_16_bit_pcm_of_at_most_750_ms_and_one_loudness(self):
        # The look-up walk gives a recording 800 ms before it plays the next.
        names = sorted(n for n in os.listdir(os.path.join(DATA, "sound")) if n.endswith(".wav"))
        self.assertIn("ok.wav", names)
        self.assertIn("ng.wav", names)
        levels = []
        for n in names:
            with open(self.sound(n), "rb") as f:
                head = f.read(36)
            self.assertEqual(head[20:22], b"\x01\x00", f"{n} is not plain PCM")
            with wave.open(self.sound(n)) as w:
                self.assertEqual((w.getnchannels(), w.getsampwidth()), (1, 2), n)
                seconds = w.getnframes() / w.getframerate()
                samples = array.array("h", w.readframes(w.getnframes()))
            self.assertGreater(seconds, 0.08, n)
            self.assertLessEqual(seconds, 0.75, n)
            if n not in ("ok.wav", "ng.wav"):
                levels.append(10 * math.log10(sum(map(operator.mul, samples, samples)) / len(samples) / 32768 ** 2))
        levels.sort()
        spread = levels[len(levels) * 95 // 100] - levels[len(levels) * 5 // 100]
        self.assertLessEqual(spread, 6.0, "the loudest and quietest 5 % are further apart")

    def test_lengths_stay_apart_and_the_long_vowel_longer(self):
        # Shortening must not bring the speaker's lengths to one: aa is a long vowel.
        import lengths
        seconds = {n[:-4]: lengths.wav_seconds(self.sound(n))
                   for n in os.listdir(os.path.join(DATA, "sound")) if SPELLING.match(n[:-4])}
        common, share = lengths.commonest_share(seconds)
        self.assertLessEqual(share, 0.10, f"{share:.0%} of the recordings last {common} ms")
        ratio, pairs = lengths.aa_ratio(seconds)
        self.assertGreaterEqual(pairs, 200)
        self.assertGreaterEqual(ratio, 1.10)

    def test_spellings_that_differ_in_tone_sound_different(self):
        digests = collections.defaultdict(dict)
        for s in {r[2] for r in self.rows}:
            with open(self.sound(s + ".wav"), "rb") as f:
                digests[s[:-1]][s] = hashlib.sha256(f.read()).hexdigest()
        same = [sorted(d) for d in digests.values() if len(set(d.values())) < len(d)]
        self.assertEqual(same, [])

    def test_shaping_keeps_every_tone_check_the_speakers_own_files_pass(self):
        import recordings
        import tones
        checksums = recordings.read_checksums()
        own = sorted(s for s in {r[2] for r in self.rows} if s in checksums)
        jobs = os.cpu_count() or 2
        with tempfile.TemporaryDirectory() as tmp:
            theirs = tones.measure(recordings.decode_all({s: checksums[s][0] for s in own}, tmp, jobs), jobs)
        self.assertEqual(tones.lost_checks(theirs, os.path.join(DATA, "sound"), jobs), {})

    def test_credit_lies_beside_the_recordings(self):
        with open(self.sound("CREDITS.txt"), encoding="utf-8-sig") as f:
            text = f.read()
        for needed in ("粵音資料集叢", "CC BY-SA 4.0", "https://creativecommons.org/licenses/by-sa/4.0/"):
            self.assertIn(needed, text)


class TrimTest(unittest.TestCase):
    def test_room_noise_after_digital_silence_is_not_the_syllable(self):
        import numpy as np
        import recordings
        with tempfile.TemporaryDirectory() as tmp:
            source = recordings.read_checksums()["taa1"][0]
            x = recordings.read_wav(recordings.decode_all({"taa1": source}, tmp, 1)["taa1"])
        frame = recordings.FRAME
        first = recordings.voice_span(x)[0]
        self.assertGreater(first, 13 * frame)  # what lies before is the room
        # The same file opening with 60 ms of digital silence, then 130 ms of its room.
        opened = np.concatenate([np.zeros(6 * frame), x[:13 * frame], x])
        self.assertEqual(recordings.voice_span(opened)[0], first + 19 * frame)


class PracticeTextTest(DataTest):
    def test_utf8_with_bom_short_lines_every_character_in_the_dictionary(self):
        with open(os.path.join(DATA, "xunlian.txt"), "rb") as f:
            raw = f.read()
        self.assertTrue(raw.startswith(b"\xef\xbb\xbf"))
        text = raw[3:].decode("utf-8")
        lines = [l for l in text.splitlines() if l]
        self.assertGreaterEqual(len(lines), 10)
        self.assertTrue(all(len(l) <= 12 for l in lines), lines)
        self.assertEqual(sorted({c for c in text if c not in "\r\n" and c not in self.first}), [])


class PracticeCheckTest(unittest.TestCase):
    """The practice text's check against a small dictionary written as the build writes it."""

    def setUp(self):
        import dictionary
        import practice
        self.practice = practice
        self.tmp = tempfile.mkdtemp(prefix="practice-test-")
        rows = [(1, "慢", "maan6"), (2, "行", "hang4"), (3, "行", "haang4"), (4, "请", "cing2"),
                (5, "请", "ceng2"), (6, "你", "nei5"), (7, "好", "hou2")]
        db = os.path.join(self.tmp, "abc.mp3")
        dictionary.write_sqlite(type("Rows", (), {"rows": lambda _: iter(rows)})(), db)
        self.first = practice.first_readings(db)

    def tearDown(self):
        shutil.rmtree(self.tmp)

    def check(self, *lines):
        self.practice.check([(n, c, s.split()) for n, (c, s) in enumerate(lines, 1)], self.first)

    def assert_fails(self, lines, *named):
        with self.assertRaises(self.practice.PracticeError) as caught:
            self.check(*lines)
        for text in named:
            self.assertIn(text, str(caught.exception))

    def test_a_line_read_as_the_first_readings_passes(self):
        self.check(("你好", "nei5 hou2"), ("慢慢行", "maan6 maan6 hang4"))

    def test_a_reading_in_context_other_than_the_first_fails_naming_line_and_character(self):
        self.assert_fails([("你好", "nei5 hou2"), ("慢慢行", "maan6 maan6 haang4")],
                          "line 2 慢慢行: 行 is haang4 here", "first reading, which the game asks for, is hang4")

    def test_a_character_without_an_entry_fails_naming_the_line(self):
        self.assert_fails([("你好吗", "nei5 hou2 maa3")], "line 1 你好吗: 吗 has no dictionary entry")

    def test_a_syllable_count_other_than_the_characters_fails_naming_the_line(self):
        self.assert_fails([("你好", "nei5 hou2"), ("请你", "ceng2")],
                          "line 2 请你: 2 characters, 1 Jyutping syllables")

    def test_the_text_must_exercise_every_initial_final_and_tone_of_the_first_readings(self):
        source = os.path.join(self.tmp, "practice.tsv")
        db = os.path.join(self.tmp, "abc.mp3")
        with open(source, "w", encoding="utf-8") as f:
            f.write("# greetings\n你好\tnei5 hou2\n")
        with self.assertRaises(self.practice.PracticeError) as caught:
            self.practice.build(source, db)
        self.assertIn("initials c m; finals aan ang ing; tones 4 6", str(caught.exception))
        with open(source, "a", encoding="utf-8") as f:
            f.write("\n慢慢行\tmaan6 maan6 hang4\n请\tcing2\n")
        data, _ = self.practice.build(source, db)
        self.assertEqual(data, "\ufeff你好\r\n慢慢行\r\n请\r\n".encode("utf-8"))


class BuilderTest(DataTest):
    """Runs the builder again on copies of the built folder."""

    def setUp(self):
        self.tmp = tempfile.mkdtemp(prefix="data-test-")
        self.out = os.path.join(self.tmp, "data")
        shutil.copytree(DATA, self.out, ignore=shutil.ignore_patterns("*.wmv"))

    def tearDown(self):
        shutil.rmtree(self.tmp)

    def test_unchanged_inputs_change_nothing(self):
        before = os.stat(os.path.join(self.out, "abc.mp3")).st_mtime_ns
        r = run_builder(self.out)
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertIn("up to date", r.stdout)
        self.assertEqual(os.stat(os.path.join(self.out, "abc.mp3")).st_mtime_ns, before)

    def test_same_packages_give_the_same_bytes(self):
        os.remove(os.path.join(self.out, ".dictionary.stamp"))
        os.remove(os.path.join(self.out, "abc.mp3"))
        # niu's tones are shaped the second way (see tones.py): its niu1 alone made again
        # must come out as it did beside the other three.
        sample = ["m1", "m4", "ng2", "ng5", "hm1", "nei5", "hou2", "gwong2", "ga3", "niu1", "ok", "ng"]
        sample = [s for s in sample if os.path.exists(os.path.join(DATA, "sound", s + ".wav"))]
        for s in sample:
            os.remove(os.path.join(self.out, "sound", s + ".wav"))
        r = run_builder(self.out)
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertTrue(filecmp.cmp(os.path.join(DATA, "abc.mp3"),
                                    os.path.join(self.out, "abc.mp3"), shallow=False))
        for s in sample:
            self.assertTrue(filecmp.cmp(os.path.join(DATA, "sound", s + ".wav"),
                                        os.path.join(self.out, "sound", s + ".wav"), shallow=False), s)

    def test_made_up_spellings_are_exactly_those_the_recorded_set_lacks(self):
        recorded = {n[:-len(".opus")] for _, _, files in os.walk(os.path.join(SYLLABLES, "sound"))
                    for n in files if n.endswith(".opus")}
        lacking = sorted({r[2] for r in self.rows} - recorded)
        r = run_builder(self.out)
        self.assertEqual(r.returncode, 0, r.stderr)
        printed = re.search(r"made up, since the recorded set lacks them: (.*)", r.stdout)
        self.assertIsNotNone(printed, r.stdout)
        self.assertEqual(printed.group(1).split(), lacking)
        for s in lacking:
            self.assertRegex(r.stdout, rf"\b{s}: the speaker's [a-z]+[1-6]\b")

    def test_missing_or_damaged_recording_is_named_and_nothing_is_shipped_in_its_place(self):
        syllables = os.path.join(self.tmp, "syllables")
        shutil.copytree(SYLLABLES, syllables)
        damaged = os.path.join(syllables, "sound", "kt", "ei", "5", "nei5.opus")
        missing = os.path.join(syllables, "sound", "kt", "ou", "2", "hou2.opus")
        with open(damaged, "r+b") as f:
            f.truncate(100)
        os.remove(missing)
        before = {n: os.path.getsize(os.path.join(self.out, "sound", n))
                  for n in ("nei5.wav", "hou2.wav")}
        r = run_builder(self.out, {"LORVANE_SYLLABLES": syllables})
        self.assertNotEqual(r.returncode, 0)
        self.assertIn("nei5.opus is damaged", r.stderr)
        self.assertIn("hou2.opus is missing", r.stderr)
        self.assertEqual({n: os.path.getsize(os.path.join(self.out, "sound", n)) for n in before},
                         before)

    def fake_root(self, broken=None, missing=None):
        """A copy of the package files, with one made unreadable or left out."""
        import sources
        root = os.path.join(self.tmp, "root")
        for path in sources.input_files():
            dest = root + path
            os.makedirs(os.path.dirname(dest), exist_ok=True)
            if path == missing:
                continue
            if path == broken:
                with open(dest, "wb") as f:
                    f.write(b"BZh91AY&SY not really bzip2")
            else:
                os.symlink(path, dest)
        return root

    def assert_database_kept(self, result):
        self.assertNotEqual(result.returncode, 0)
        self.assertTrue(filecmp.cmp(os.path.join(DATA, "abc.mp3"),
                                    os.path.join(self.out, "abc.mp3"), shallow=False))

    def test_missing_package_is_named_and_the_database_kept(self):
        import sources
        root = self.fake_root(missing=sources.RIME_CHARS)
        r = run_builder(self.out, {"LORVANE_DATA_SYSROOT": root})
        self.assert_database_kept(r)
        self.assertIn("rime-data-jyut6ping3", r.stderr)
        self.assertIn("apt-get install", r.stderr)

    def test_unreadable_source_fails_without_touching_the_database(self):
        import sources
        root = self.fake_root(broken=sources.UNIHAN_READINGS)
        r = run_builder(self.out, {"LORVANE_DATA_SYSROOT": root})
        self.assert_database_kept(r)
        self.assertFalse(os.path.exists(os.path.join(self.out, "abc.mp3.tmp")))


if __name__ == "__main__":
    unittest.main()
