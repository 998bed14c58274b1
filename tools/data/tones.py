"""Keeps the speaker's tones apart in the shaped recordings.

Shortening moves a contour by a tenth of a semitone or so, and a few of the speaker's
syllables sit that close to what tells two tones apart (a tone 4 whose voice turns up in
its last frames, a tone 2 whose top is within 2 semitones of tone 1's). The build
measures every syllable it shaped with the tone checks of tools/tonecheck, on the
speaker's own files and on the shaped ones. A syllable that fails a check the speaker's
files pass has all its recordings shaped again with the margin after the voice shortened
along with the voice (recordings.prepare), and keeps whichever way loses fewer checks.
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
TONECHECK_DIR = os.path.join(HERE, "..", "tonecheck")
sys.path.insert(0, TONECHECK_DIR)

import tonecheck  # noqa: E402

FILES = [os.path.join(TONECHECK_DIR, n) for n in ("tonecheck.py", "tonecheck.praat")]


def measure(files, jobs):
    """files: {spelling: a recording (WAV)} -> {spelling: its Contour}."""
    measured = tonecheck.contours(files.values(), jobs)
    return {s: measured[os.path.abspath(p)] for s, p in files.items()}


def lost_checks(theirs, folder, jobs):
    """theirs: {spelling: Contour of the speaker's file} -> {body: [checks]} that hold
    between the speaker's files and fail between the recordings in folder."""
    shaped = measure({s: os.path.join(folder, s + ".wav") for s in theirs}, jobs)
    held, _ = tonecheck.judge(theirs)
    _, failed = tonecheck.judge(shaped)
    lost = {}
    for body, name in sorted(set(held) & set(failed)):
        lost.setdefault(body, []).append(name)
    return lost


def keep_apart(sources, sound_dir, reshape, work, jobs):
    """sources: {spelling: its speaker's file (WAV)} for every spelling of the syllables to
    check; reshape(spellings, folder) shapes them the other way into folder and returns
    what recordings.shape_all does. Moves the reshaped recordings of each syllable that
    loses fewer checks that way into sound_dir. Returns (what reshape returned for those,
    report lines)."""
    if not sources:
        return {}, []
    theirs = measure(sources, jobs)
    held = len(tonecheck.judge(theirs)[0])
    lost = lost_checks(theirs, sound_dir, jobs)
    kept, still = {}, {}
    if lost:
        again = sorted(s for s in sources if s[:-1] in lost)
        folder = os.path.join(work, "reshaped")
        os.makedirs(folder, exist_ok=True)
        made = reshape(again, folder)
        lost_again = lost_checks({s: theirs[s] for s in again}, folder, jobs)
        for body, names in lost.items():
            if len(lost_again.get(body, [])) < len(names):
                names = lost_again.get(body, [])
                for s in (s for s in again if s[:-1] == body):
                    os.replace(os.path.join(folder, s + ".wav"), os.path.join(sound_dir, s + ".wav"))
                    kept[s] = made[s]
            if names:
                still[body] = names
    syllables = len({s[:-1] for s in sources})
    report = [f"tones: {len(sources)} recordings of {syllables} syllable{'s' * (syllables != 1)} "
              f"measured; the speaker's own hold {held} checks between their tones, the shaped "
              f"ones lose {sum(map(len, still.values()))} of them"]
    if lost:
        report.append("tones: shaped again with the margin after the voice shortened too, as "
                      "the first way lost a check: " + " ".join(sorted({s[:-1] for s in kept}) or ["none"]))
    for body, names in sorted(still.items()):
        report.append(f"tones:   {body} loses " + ", ".join(f"'{n}'" for n in names))
    return kept, report
