"""Finds recordings in a capture of what was played, for the sound benchmark (sound.sh).

    find-syllables.py spellings DICTIONARY TEXT
        One line per character of TEXT: the spelling the program reads aloud for it (the
        first row of the character in the dictionary's table, as the program's look-up finds
        it). Exit status 1 when a character has none.
    find-syllables.py measure WHO SOUND_DIR SPELLINGS_FILE CAPTURE...
        Each CAPTURE (raw signed 16-bit mono at 22050 Hz, as parec records the sink's
        monitor) should hold the recordings SOUND_DIR/<spelling>.wav in the order of
        SPELLINGS_FILE. Prints, per syllable, where its recording lies in the capture, how
        well it matches (normalised cross-correlation) and at which gain; then the count of
        syllables that arrived intact, their gains and the gaps between them, and FIGURE
        lines named sound_WHO_... for ./benchmarks.
"""
import os
import statistics
import sys
import wave

import numpy as np

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data"))
from practice import first_readings  # noqa: E402  (the row the program's look-up takes)

RATE = 22050
INTACT = 0.99  # correlation with the recording at or above which a syllable arrived whole
FOUND = 0.5    # below this, what lies there is not the syllable at all
MAX_GAP = 0.6  # seconds: the longest silence expected between two syllables
LOUD = 100     # a sample this far from 0 is sound (the null sink's silence is exact 0)


def spellings(dictionary, text):
    first = first_readings(dictionary)
    missing = [c for c in text if c not in first]
    if missing:
        print(f"find-syllables: not in the dictionary: {''.join(missing)}", file=sys.stderr)
        return 1
    for c in text:
        print(first[c])
    return 0


def read_recording(path):
    with wave.open(path) as w:
        if (w.getnchannels(), w.getsampwidth(), w.getframerate()) != (1, 2, RATE):
            raise SystemExit(f"find-syllables: {path} is not 16-bit mono at {RATE} Hz")
        return np.frombuffer(w.readframes(w.getnframes()), dtype="<i2").astype(np.float64)


def correlations(capture, energy, recording):
    """Normalised cross-correlation of `recording` with the capture at every offset, and the
    gain that fits it there (least squares)."""
    n, m = len(capture), len(recording)
    size = 1 << (n + m - 1).bit_length()
    products = np.fft.irfft(np.fft.rfft(capture, size) * np.conj(np.fft.rfft(recording, size)), size)[: n - m + 1]
    window = energy[m:] - energy[:-m]  # capture energy under the recording at each offset
    norm = float(np.dot(recording, recording))
    with np.errstate(divide="ignore", invalid="ignore"):
        corr = np.where(window > 1e-6 * m, products / np.sqrt(np.maximum(window, 1e-12) * norm), 0.0)
    return corr, products / norm


def best_match(corr, start, stop, length):
    """Where in [start, stop] the recording lies: the first place where it arrived whole
    (a character read twice can come again within reach), else the best place."""
    stop = min(stop, len(corr) - 1)
    if start > stop:
        return None
    whole = np.flatnonzero(corr[start:stop + 1] >= INTACT)
    if len(whole):
        first = start + int(whole[0])
        return first + int(np.argmax(corr[first:first + length // 2]))
    return start + int(np.argmax(corr[start:stop + 1]))


def measure(who, sound_dir, spellings_file, captures):
    names = open(spellings_file, encoding="utf-8").read().split()
    recordings = {s: read_recording(f"{sound_dir}/{s}.wav") for s in set(names)}
    intact, gains, onsets, silences = 0, [], [], []
    for number, path in enumerate(captures, 1):
        capture = np.fromfile(path, dtype="<i2").astype(np.float64)
        energy = np.concatenate(([0.0], np.cumsum(capture * capture)))
        print(f"{who}, capture {number}: {len(capture) / RATE:.2f} s")
        # The syllables are looked for in turn, each where it can begin: the first at the
        # first sound of the capture, each next one after the half of the one before and
        # at most MAX_GAP after its end (a syllable not there at all widens the next reach).
        loud = np.flatnonzero(np.abs(capture) > LOUD)
        first_sound = int(loud[0]) if len(loud) else 0
        start, stop = None, first_sound + int(0.05 * RATE)
        previous = None  # (offset, length) of the syllable before, when it arrived whole
        for s in names:
            rec = recordings[s]
            corr, gains_at = correlations(capture, energy, rec)
            offset = None
            if len(corr) > 0:
                offset = best_match(corr, max(0, first_sound - len(rec)) if start is None else start, stop, len(rec))
            if offset is None or corr[offset] < FOUND:
                print(f"  {s:8} not found")
                previous = None
                stop += len(rec) + int(MAX_GAP * RATE)
                continue
            whole, gap = corr[offset] >= INTACT, ""
            if whole:
                intact += 1
                gains.append(gains_at[offset])
                if previous:
                    onsets.append((offset - previous[0]) / RATE)
                    silences.append((offset - previous[0] - previous[1]) / RATE)
                    gap = f"  onset +{onsets[-1]:.3f} s, silence before {silences[-1] * 1000:+.0f} ms"
            previous = (offset, len(rec)) if whole else None
            start, stop = offset + len(rec) // 2, offset + len(rec) + int(MAX_GAP * RATE)
            print(f"  {s:8} at {offset / RATE:6.3f} s  corr {corr[offset]:.4f}  gain {gains_at[offset]:.3f}"
                  f"{'' if whole else '  BROKEN'}{gap}")
    total = len(names) * len(captures)
    print(f"{who}: {intact} of {total} syllables intact (correlation >= {INTACT})")
    figures = [("intact", intact, ""), ("syllables", total, "")]
    if gains:
        print(f"{who}: gain median {statistics.median(gains):.3f} (range {min(gains):.3f} to {max(gains):.3f})")
        figures += [("gain", statistics.median(gains), ""), ("gain_min", min(gains), ""),
                    ("gain_max", max(gains), "")]
    if onsets:
        print(f"{who}: onset to onset median {statistics.median(onsets):.3f} s"
              f" ({min(onsets):.3f} to {max(onsets):.3f}); silence between recordings median"
              f" {statistics.median(silences) * 1000:.0f} ms ({min(silences) * 1000:.0f} to {max(silences) * 1000:.0f})")
        figures += [("onset_s", statistics.median(onsets), "s"), ("onset_min_s", min(onsets), "s"),
                    ("onset_max_s", max(onsets), "s"), ("silence_ms", statistics.median(silences) * 1000, "ms")]
    for name, value, unit in figures:
        print(f"FIGURE\tsound_{who}_{name}\t{value:.4f}\t{unit}")
    return 0


def main(argv):
    if len(argv) == 4 and argv[1] == "spellings":
        return spellings(argv[2], argv[3])
    if len(argv) >= 6 and argv[1] == "measure":
        return measure(argv[2], argv[3], argv[4], argv[5:])
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
