#!/usr/bin/env python3
"""Measures with Praat whether the recordings in a sound folder carry the six tones
apart, as a learner must hear them, and prints the figures.

    tonecheck.py SOUND_DIR [SPELLING...]

For every syllable body (the spelling without its tone digit), the checks between
its tones that the folder has: tone 1 at least 2 semitones above tone 3, tone 3 at
least 1 above tone 6, tone 6 at least 1 above the end of tone 4; tone 2 rises at least
3 and ends within 2 of tone 1's end; tone 5 rises at least 1.5 and ends at least 1.5
below tone 2's end; tone 4 rises no more than 1.5. A tone's height is the median F0 of
its voiced frames, its start and end the medians of the first and last quarter.
Prints the share of checks that hold, the pitch range (5-95 %) of all voiced frames,
the checks that fail, and the contours of any SPELLINGs named.
"""
import math
import os
import statistics
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
SPELLING_DIGITS = "123456"


def semitones(hz):
    return 12 * math.log2(hz / 100.0)


# Voiced frames further apart than JUMP, one after the other or within JUMP_SPAN, are not
# one voice: Praat jumps an octave in the breathy end of a syllable (a voice shortened
# pitch-synchronously may glide there over a few frames rather than jump).
JUMP = 3.0        # semitones
JUMP_SPAN = 0.01  # seconds
GAP = 0.03        # seconds


def steady_run(frames):
    """The longest run of (time, semitones) frames with no jump or gap inside it."""
    best, run = [], []
    for frame in frames:
        if run and (frame[0] - run[-1][0] > GAP or any(
                abs(frame[1] - v) > JUMP for t, v in run[-8:]
                if frame[0] - t <= JUMP_SPAN + 1e-6 or t == run[-1][0])):
            run = []
        run.append(frame)
        if len(run) > len(best):
            best = list(run)
    return [v for _, v in best]


def pitch_tracks(paths):
    """{path: [F0 in semitones re 100 Hz of each frame of its steady voice]}, from one
    Praat run."""
    with tempfile.TemporaryDirectory(prefix="tonecheck-") as tmp:
        listing, out = os.path.join(tmp, "list.txt"), os.path.join(tmp, "pitch.txt")
        with open(listing, "w") as f:
            f.write("\n".join(paths) + "\n")
        r = subprocess.run(["praat", "--run", os.path.join(HERE, "tonecheck.praat"), listing, out],
                           capture_output=True, text=True)
        if r.returncode:
            raise SystemExit(f"tonecheck: praat failed: {r.stderr.strip()}")
        tracks = {}
        with open(out) as f:
            for line in f:
                path, *frames = line.split()
                tracks[path] = steady_run([(float(t), semitones(float(hz)))
                                           for t, hz in (f.split(":") for f in frames)])
    return tracks


def contours(paths, jobs=1):
    """{absolute path: Contour of its steady voice}, from jobs Praat processes."""
    import concurrent.futures
    paths = [os.path.abspath(p) for p in paths]
    batches = [paths[i::jobs] for i in range(jobs) if paths[i::jobs]]
    tracks = {}
    with concurrent.futures.ThreadPoolExecutor(max_workers=jobs) as pool:
        for t in pool.map(pitch_tracks, batches):
            tracks.update(t)
    return {p: Contour(tracks.get(p, [])) for p in paths}


class Contour:
    def __init__(self, values):
        self.values = values
        q = max(1, len(values) // 4)
        self.ok = len(values) >= 4
        self.height = statistics.median(values) if self.ok else float("nan")
        self.start = statistics.median(values[:q]) if self.ok else float("nan")
        self.end = statistics.median(values[-q:]) if self.ok else float("nan")
        self.rise = self.end - self.start


# (name, tones it needs, test on their contours)
CHECKS = [
    ("1 >= 3 + 2", "13", lambda c: c["1"].height - c["3"].height >= 2),
    ("3 >= 6 + 1", "36", lambda c: c["3"].height - c["6"].height >= 1),
    ("6 >= end of 4 + 1", "46", lambda c: c["6"].height - c["4"].end >= 1),
    ("2 rises >= 3", "2", lambda c: c["2"].rise >= 3),
    ("2 ends within 2 of 1", "12", lambda c: abs(c["2"].end - c["1"].end) <= 2),
    ("5 rises >= 1.5", "5", lambda c: c["5"].rise >= 1.5),
    ("5 ends >= 1.5 below 2", "25", lambda c: c["2"].end - c["5"].end >= 1.5),
    ("4 rises <= 1.5", "4", lambda c: c["4"].rise <= 1.5),
]


def judge(contours):
    """contours: {spelling: Contour} -> (held, failed) lists of (body, check name)."""
    bodies = {}
    for spelling, c in contours.items():
        if spelling[-1] in SPELLING_DIGITS:
            bodies.setdefault(spelling[:-1], {})[spelling[-1]] = c
    held, failed = [], []
    for body, tones in sorted(bodies.items()):
        for name, needs, test in CHECKS:
            if all(t in tones for t in needs):
                ok = all(tones[t].ok for t in needs) and test(tones)
                (held if ok else failed).append((body, name))
    return held, failed


def percentile(sorted_values, p):
    return sorted_values[min(len(sorted_values) - 1, int(p / 100 * len(sorted_values)))]


def main(argv):
    if len(argv) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    # Praat takes a relative path from the script's folder.
    folder, show = os.path.abspath(argv[1]), argv[2:]
    names = sorted(n[:-4] for n in os.listdir(folder)
                   if n.endswith(".wav") and n[-5:-4] in SPELLING_DIGITS)
    measured = contours([os.path.join(folder, n + ".wav") for n in names], os.cpu_count() or 1)
    shapes = {n: measured[os.path.join(folder, n + ".wav")] for n in names}
    held, failed = judge(shapes)
    total = len(held) + len(failed)
    voiced = sorted(v for c in shapes.values() for v in c.values)
    span = percentile(voiced, 95) - percentile(voiced, 5)
    median_hz = 100 * 2 ** (percentile(voiced, 50) / 12)
    print(f"tones: {len(names)} recordings, {len(held)} of {total} checks hold "
          f"({100.0 * len(held) / max(total, 1):.1f} %); pitch range (5-95 %) {span:.1f} semitones, "
          f"median F0 {median_hz:.0f} Hz")
    by_check = {}
    for body, name in failed:
        by_check.setdefault(name, []).append(body)
    for name, bodies in by_check.items():
        print(f"  fails '{name}': {' '.join(bodies)}")
    for spelling in show:
        c = shapes.get(spelling)
        if c is None:
            print(f"  {spelling}: no recording")
            continue
        hz = lambda st: 100 * 2 ** (st / 12)  # noqa: E731
        mine = [(b, n) for b, n in failed if b == spelling[:-1]]
        print(f"  {spelling}: {len(c.values)} voiced frames, start {hz(c.start):.0f} Hz, "
              f"height {hz(c.height):.0f} Hz, end {hz(c.end):.0f} Hz, rise {c.rise:+.1f} st"
              f"{'; body fails ' + ', '.join(n for _, n in mine) if mine else ''}")
    print(f"FIGURE\ttone_checks_percent\t{100.0 * len(held) / max(total, 1):.1f}\t%")
    print(f"FIGURE\tpitch_range_semitones\t{span:.1f}\tst")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
