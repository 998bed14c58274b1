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
import sqlite3
import statistics
import sys
import wave

import numpy as np

RATE = 22050
INTACT = 0.99  # correlation with the recording at or above which a syllable arrived whole


def spellings(dictionary, text):
    db = sqlite3.connect(f"file:{dictionary}?mode=ro", uri=True)
    first = {}
    # The program reads "select *" and stops at a character's first row: table order.
    for character, phonetic in db.execute("SELECT Character, Phonetic FROM cantonesePhonetic ORDER BY rowid"):
        first.setdefault(character, phonetic)
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


def best_match(capture, energy, recording, start):
    """The offset at or after `start` where `recording` correlates best with the capture:
    (offset, correlation, gain), or None when the capture is too short."""
    n, m = len(capture), len(recording)
    if n - start < m:
        return None
    size = 1 << (n + m - 1).bit_length()
    products = np.fft.irfft(np.fft.rfft(capture, size) * np.conj(np.fft.rfft(recording, size)), size)[: n - m + 1]
    window = energy[m:] - energy[:-m]  # capture energy under the recording at each offset
    norm = float(np.dot(recording, recording))
    with np.errstate(divide="ignore", invalid="ignore"):
        corr = np.where(window > 1e-6 * m, products / np.sqrt(np.maximum(window, 1e-12) * norm), 0.0)
    offset = start + int(np.argmax(corr[start:]))
    return offset, float(corr[offset]), float(products[offset] / norm)


def measure(who, sound_dir, spellings_file, captures):
    names = open(spellings_file, encoding="utf-8").read().split()
    recordings = {s: read_recording(f"{sound_dir}/{s}.wav") for s in set(names)}
    intact, gains, onsets, silences = 0, [], [], []
    for number, path in enumerate(captures, 1):
        capture = np.fromfile(path, dtype="<i2").astype(np.float64)
        energy = np.concatenate(([0.0], np.cumsum(capture * capture)))
        print(f"{who}, capture {number}: {len(capture) / RATE:.2f} s")
        start, previous = 0, None  # previous: (offset, length) of the last intact syllable
        for s in names:
            rec = recordings[s]
            found = best_match(capture, energy, rec, start)
            if found is None:
                print(f"  {s:8} not found (the capture ends first)")
                previous = None
                continue
            offset, corr, gain = found
            whole = corr >= INTACT
            gap = ""
            if whole:
                intact += 1
                gains.append(gain)
                if previous:
                    onsets.append((offset - previous[0]) / RATE)
                    silences.append((offset - previous[0] - previous[1]) / RATE)
                    gap = f"  onset +{onsets[-1]:.3f} s, silence before {silences[-1] * 1000:+.0f} ms"
                previous = (offset, len(rec))
                start = offset + len(rec) // 2  # the next syllable starts after this one
            else:
                previous = None
            print(f"  {s:8} at {offset / RATE:6.3f} s  corr {corr:.4f}  gain {gain:.3f}"
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
