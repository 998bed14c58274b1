"""Prints the table of ./benchmarks: each figure the benchmarks printed, beside its goal.

    table.py RESULTS_DIR BENCH...

RESULTS_DIR holds figures.tsv (the benchmarks' lines "FIGURE<tab>name<tab>value<tab>unit"),
status (lines "bench<tab>exit status") and load (the load average at the start). BENCH are
the benchmarks that were asked for. Exit status 1 when one of them printed no figures.
"""
import os
import sys

# The figure that shows a benchmark ran to its end.
LAST_FIGURE = {
    "scan": "scan_absent_ms",
    "startup": "startup_resident_mb",
    "readaloud": "readaloud_processor_percent",
    "soak": "soak_completed",
    "sound": "sound_playsound_syllables",
    "data": "data_unchanged_s",
    "tones": "pitch_range_semitones",
    "video": "video_unchanged_s",
}


def read_figures(path):
    figures = {}
    if os.path.exists(path):
        for line in open(path, encoding="utf-8"):
            parts = line.rstrip("\n").split("\t")
            if len(parts) == 4 and parts[0] == "FIGURE":
                try:
                    figures[parts[1]] = float(parts[2])
                except ValueError:
                    pass
    return figures


def read_status(path):
    status = {}
    if os.path.exists(path):
        for line in open(path):
            name, code = line.split()
            status[name] = int(code)
    return status


class Table:
    def __init__(self, figures, status, asked):
        self.figures, self.status, self.asked, self.rows = figures, status, asked, []

    def add(self, bench, label, measured, goal, met):
        """measured None: the benchmark printed no such figure. met None: nothing to judge.
        Rows of benchmarks that were not asked for are left out."""
        if bench not in self.asked:
            return
        if measured is None:
            if bench in self.status:
                measured = f"no figure (exit {self.status[bench]}; see {bench}.log)"
                verdict = "NO" if goal != "—" else "—"
            else:
                measured, verdict = "not run", "—"
        else:
            verdict = "—" if met is None else ("yes" if met else "NO")
        self.rows.append((label, measured, goal, verdict))

    def simple(self, bench, label, name, fmt, goal, test):
        v = self.figures.get(name)
        self.add(bench, label, None if v is None else fmt.format(v), goal,
                 None if v is None or test is None else test(v))

    def soak(self, label, key, unit, bound):
        """Start and end figures of the soak run; the bound applies to the growth over the
        walk and over the game (after its warm-up), as the soak run itself judges it."""
        mb = unit == "MB"
        goal = "—" if bound is None else (f"grows < {bound:g} MB" if mb else f"grows <= {bound:g}")
        at = [self.figures.get(f"soak_{key}_{p}") for p in ("start", "after_walk", "game_warm", "end")]
        if None in at:
            self.add("soak", label, None, goal, None)
            return
        start, walk_end, game_start, end = at
        walk, game = walk_end - start, end - game_start
        num = (lambda v: f"{v:.1f}") if mb else (lambda v: f"{v:.0f}")
        growth = (lambda v: f"{v:+.1f}") if mb else (lambda v: f"{v:+.0f}")
        measured = f"{num(start)} -> {num(end)}{' MB' if mb else ''} (walk {growth(walk)}, game {growth(game)})"
        met = None if bound is None else (
            (walk < bound and game < bound) if mb else (walk <= bound and game <= bound))
        self.add("soak", label, measured, goal, met)

    def sound(self, who, label):
        """What reached the sound server: syllables intact, gain, gaps. The goals are the
        program's; Wine's PlaySound in the same run is the yardstick beside them."""
        f = lambda name: self.figures.get(f"sound_{who}_{name}")
        program = who == "program"
        intact, total = f("intact"), f("syllables")
        self.add("sound", f"sound: {label}, syllables intact (correlation >= 0.99)",
                 None if total is None else f"{intact:.0f} of {total:.0f}",
                 "all" if program else "—", None if total is None or not program else intact == total)
        gain, low, high = f("gain"), f("gain_min"), f("gain_max")
        self.add("sound", f"sound: {label}, gain of the intact ones",
                 None if gain is None else f"{gain:.3f} ({low:.3f} to {high:.3f})",
                 "0.50 ± 0.02 (volume 50)" if program else "—",
                 None if gain is None or not program else 0.48 <= low and high <= 0.52)
        onset, silence = f("onset_s"), f("silence_ms")
        self.add("sound", f"sound: {label}, onset to onset / silence between",
                 None if onset is None else
                 f"{onset:.3f} s ({f('onset_min_s'):.3f} to {f('onset_max_s'):.3f}) / {silence:.0f} ms",
                 "—", None)

    def print(self):
        head = ("figure", "measured", "goal", "met?")
        widths = [max(len(r[i]) for r in self.rows + [head]) for i in range(4)]
        line = lambda r: "| " + " | ".join(x.ljust(w) for x, w in zip(r, widths)) + " |"
        print(line(head))
        print("|" + "|".join("-" * (w + 2) for w in widths) + "|")
        for r in self.rows:
            print(line(r))


def build(figures, status, asked):
    t = Table(figures, status, asked)
    f = figures.get
    rows = f"{f('scan_rows'):.0f} rows" if f("scan_rows") else "installed dictionary"
    t.simple("scan", f"dictionary scan for an absent character ({rows})", "scan_absent_ms", "{:.3f} ms",
             "< 5 ms", lambda v: v < 5)
    t.simple("readaloud", "read-aloud: processor time / wall time", "readaloud_processor_percent", "{:.2f} %",
             "< 5 %", lambda v: v < 5)
    r = f("startup_ratio")
    t.add("startup", "start-up: Lorvane.exe / minimal dialog program",
          None if r is None else
          f"{r:.2f}x median ({f('startup_lorvane_ms'):.0f} / {f('startup_minimal_ms'):.0f} ms),"
          f" fastest {f('startup_ratio_fastest'):.2f}x",
          "< 1.5x", None if r is None else r < 1.5)
    rows = f"{f('startup_rows'):.0f} rows" if f("startup_rows") else "40000 rows"
    t.simple("startup", f"resident memory after start-up ({rows})", "startup_resident_mb", "{:.1f} MB",
             "< 40 MB", lambda v: v < 40)
    for who, label in (("program", "read-aloud of the program"), ("playsound", "the same by Wine's PlaySound")):
        t.sound(who, label)
    t.simple("data", "data build from scratch", "data_scratch_s", "{:.1f} s", "< 3 min", lambda v: v < 180)
    t.simple("data", "data build, nothing changed", "data_unchanged_s", "{:.2f} s", "< 5 s", lambda v: v < 5)
    t.simple("tones", "recordings: tone checks that hold (Praat F0)", "tone_checks_percent", "{:.1f} %",
             ">= 97 %", lambda v: v >= 97)
    t.simple("tones", "recordings: pitch range (5-95 %)", "pitch_range_semitones", "{:.1f} semitones",
             ">= 8 semitones", lambda v: v >= 8)
    t.simple("video", "study video build from scratch", "video_scratch_s", "{:.1f} s", "< 3 min",
             lambda v: v < 180)
    t.simple("video", "study video build, one narration changed", "video_changed_s", "{:.1f} s", "—", None)
    t.simple("video", "study video build, nothing changed", "video_unchanged_s", "{:.2f} s", "< 5 s",
             lambda v: v < 5)
    t.soak("soak: kernel handles", "handles", "", 8)
    t.soak("soak: GDI + USER objects", "gui_objects", "", 4)
    t.soak("soak: private bytes", "private_mb", "MB", 8)
    t.soak("soak: working set", "working_set_mb", "MB", None)
    c = f("soak_completed")
    t.add("soak", "soak: walk and game completed, no message box",
          None if c is None else ("yes" if c else "no"), "yes", None if c is None else c == 1)
    return t


def main(argv):
    results, asked = argv[1], argv[2:]
    figures = read_figures(os.path.join(results, "figures.tsv"))
    status = read_status(os.path.join(results, "status"))
    print()
    build(figures, status, asked).print()
    print()
    load_file = os.path.join(results, "load")
    load = open(load_file).read().strip() if os.path.exists(load_file) else "?"
    print(f"load average at the start: {load} ({os.cpu_count()} cores); full output in {results}/")
    errors = [f"{n} ({code})" for n, code in status.items() if code != 0]
    if errors:
        print("exited with an error: " + ", ".join(errors))
    missing = [b for b in asked if LAST_FIGURE.get(b) not in figures]
    if missing:
        print("printed no figures: " + ", ".join(missing))
    return 1 if missing else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
