"""The table of ./benchmarks, from figures files written here: verdicts against the goals,
soak growth judged per span, benchmarks without figures, and the exit status."""
import os
import subprocess
import sys
import tempfile
import unittest

TABLE = os.environ.get("LORVANE_BENCH_TABLE",
                       os.path.join(os.path.dirname(__file__), "..", "..", "tools", "benchmarks", "table.py"))

ALL_GOOD = {
    "scan_absent_ms": 1.234, "scan_rows": 28000,
    "readaloud_processor_percent": 1.5,
    "startup_ratio": 1.2, "startup_ratio_fastest": 1.1, "startup_lorvane_ms": 600, "startup_minimal_ms": 500,
    "startup_resident_mb": 20.5, "startup_rows": 40000,
    "data_scratch_s": 30, "data_unchanged_s": 0.8,
    "tone_checks_percent": 98.2, "pitch_range_semitones": 11.4,
    "video_scratch_s": 90, "video_changed_s": 20, "video_unchanged_s": 0.5,
    "soak_completed": 1,
}
for who, gain in (("program", 0.5), ("playsound", 1.0)):
    ALL_GOOD.update({f"sound_{who}_intact": 24, f"sound_{who}_syllables": 24, f"sound_{who}_gain": gain,
                     f"sound_{who}_gain_min": gain - 0.02, f"sound_{who}_gain_max": gain + 0.02,
                     f"sound_{who}_onset_s": 0.78, f"sound_{who}_onset_min_s": 0.69,
                     f"sound_{who}_onset_max_s": 0.85, f"sound_{who}_silence_ms": 55.0})
for key, values in {"handles": (100, 103, 110, 112), "gui_objects": (50, 50, 60, 61),
                    "private_mb": (20.0, 22.0, 30.0, 31.5), "working_set_mb": (30.0, 32.0, 40.0, 41.0)}.items():
    for at, v in zip(("start", "after_walk", "game_warm", "end"), values):
        ALL_GOOD[f"soak_{key}_{at}"] = v


def run(figures, status, asked, extra_lines=()):
    with tempfile.TemporaryDirectory() as d:
        with open(os.path.join(d, "figures.tsv"), "w", encoding="utf-8") as f:
            for name, value in figures.items():
                f.write(f"FIGURE\t{name}\t{value}\tunit\n")
            f.writelines(line + "\n" for line in extra_lines)
        with open(os.path.join(d, "status"), "w") as f:
            f.writelines(f"{name}\t{code}\n" for name, code in status.items())
        with open(os.path.join(d, "load"), "w") as f:
            f.write("1.00 2.00 3.00\n")
        p = subprocess.run([sys.executable, TABLE, d, *asked], capture_output=True, text=True)
    rows = {}
    for line in p.stdout.splitlines():
        cells = [c.strip() for c in line.strip().strip("|").split("|")]
        if len(cells) == 4:
            rows[cells[0]] = cells[1:]
    return p.returncode, rows, p.stdout


ALL = ["scan", "startup", "readaloud", "soak", "sound", "data", "tones", "video"]
EVERY_STATUS = {b: 0 for b in ALL}


def row(rows, start):
    matches = [v for k, v in rows.items() if k.startswith(start)]
    assert len(matches) == 1, (start, list(rows))
    return matches[0]


class TableTest(unittest.TestCase):
    def test_every_goal_met(self):
        code, rows, out = run(ALL_GOOD, EVERY_STATUS, ALL)
        self.assertEqual(code, 0, out)
        self.assertEqual(row(rows, "dictionary scan"), ["1.234 ms", "< 5 ms", "yes"])
        self.assertIn("28000 rows", [k for k in rows if k.startswith("dictionary scan")][0])
        self.assertEqual(row(rows, "read-aloud")[2], "yes")
        self.assertEqual(row(rows, "start-up")[0], "1.20x median (600 / 500 ms), fastest 1.10x")
        self.assertEqual(row(rows, "resident memory")[:2], ["20.5 MB", "< 40 MB"])
        self.assertEqual(row(rows, "data build from scratch")[2], "yes")
        self.assertEqual(row(rows, "recordings: tone checks"), ["98.2 %", ">= 97 %", "yes"])
        self.assertEqual(row(rows, "study video build, one narration changed"), ["20.0 s", "—", "—"])
        # Growth counts over the walk and over the game, not across the game's warm-up.
        self.assertEqual(row(rows, "soak: kernel handles"), ["100 -> 112 (walk +3, game +2)", "grows <= 8", "yes"])
        self.assertEqual(row(rows, "soak: private bytes")[0], "20.0 -> 31.5 MB (walk +2.0, game +1.5)")
        self.assertEqual(row(rows, "soak: working set")[1:], ["—", "—"])
        # The bounds of the gain are met at their edges; PlaySound's rows are the yardstick, unjudged.
        self.assertEqual(row(rows, "sound: read-aloud of the program, syllables"), ["24 of 24", "all", "yes"])
        self.assertEqual(row(rows, "sound: read-aloud of the program, gain")[0], "0.500 (0.480 to 0.520)")
        self.assertEqual(row(rows, "sound: read-aloud of the program, gain")[2], "yes")
        self.assertEqual(row(rows, "sound: read-aloud of the program, onset")[0], "0.780 s (0.690 to 0.850) / 55 ms")
        self.assertEqual(row(rows, "sound: the same by Wine's PlaySound, gain"),
                         ["1.000 (0.980 to 1.020)", "—", "—"])
        self.assertIn("1.00 2.00 3.00", out)

    def test_goals_missed_at_and_beyond_their_bounds(self):
        figures = dict(ALL_GOOD, scan_absent_ms=5.0, readaloud_processor_percent=7.3, startup_ratio=1.5,
                       startup_resident_mb=40.0, data_scratch_s=180, data_unchanged_s=5.0, video_unchanged_s=12,
                       soak_handles_end=121, soak_gui_objects_after_walk=55, soak_private_mb_end=38.0,
                       tone_checks_percent=96.9, pitch_range_semitones=7.9, soak_completed=0,
                       sound_program_intact=23, sound_program_gain_max=0.521)
        code, rows, out = run(figures, EVERY_STATUS, ALL)
        self.assertEqual(code, 0, out)  # every benchmark ran: misses show in the table only
        for start in ["dictionary scan", "read-aloud", "start-up", "resident memory", "data build from scratch",
                      "data build, nothing", "recordings: tone checks", "recordings: pitch range",
                      "study video build, nothing", "soak: kernel handles",
                      "soak: GDI + USER", "soak: private bytes", "soak: walk and game",
                      "sound: read-aloud of the program, syllables", "sound: read-aloud of the program, gain"]:
            self.assertEqual(row(rows, start)[2], "NO", start)
        self.assertEqual(row(rows, "study video build from scratch")[2], "yes")

    def test_benchmark_without_figures_or_not_run(self):
        figures = {k: v for k, v in ALL_GOOD.items() if not k.startswith("soak_") and not k.startswith("video_")}
        status = dict(EVERY_STATUS, soak=1)
        del status["video"]
        code, rows, out = run(figures, status, ALL)
        self.assertEqual(code, 1)
        self.assertEqual(row(rows, "soak: kernel handles")[0], "no figure (exit 1; see soak.log)")
        self.assertEqual(row(rows, "soak: kernel handles")[2], "NO")
        self.assertEqual(row(rows, "study video build from scratch")[0], "not run")
        self.assertIn("exited with an error: soak (1)", out)
        self.assertIn("printed no figures: soak, video", out)
        self.assertEqual(row(rows, "soak: private bytes")[1], "grows < 8 MB")

    def test_only_the_benchmarks_asked_for(self):
        figures = {k: v for k, v in ALL_GOOD.items() if not k.startswith("soak_")}
        code, rows, out = run(figures, {"scan": 0, "data": 0}, ["scan", "data"])
        self.assertEqual(code, 0, out)  # soak printed nothing, but was not asked for
        self.assertEqual(sorted(k.split()[0] for k in rows if k[0].isalpha() and k != "figure"),
                         ["data", "data", "dictionary"])
        code, rows, out = run(figures, {"scan": 0}, ["scan", "soak"])
        self.assertEqual(code, 1)
        self.assertEqual(row(rows, "soak: kernel handles"), ["not run", "grows <= 8", "—"])

    def test_partial_soak_figures_and_odd_lines(self):
        figures = {k: v for k, v in ALL_GOOD.items() if k != "soak_handles_game_warm"}
        code, rows, out = run(figures, EVERY_STATUS, ALL,
                              extra_lines=["FIGURE\tscan_absent_ms\tfast\tms", "FIGURE\tbroken", "noise"])
        self.assertEqual(code, 0, out)
        self.assertTrue(row(rows, "soak: kernel handles")[0].startswith("no figure"))
        self.assertEqual(row(rows, "dictionary scan")[0], "1.234 ms")  # the bad value left it alone


if __name__ == "__main__":
    unittest.main()
