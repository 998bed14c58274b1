"""Narration: entries of the slide table -> pieces of speech and silence -> samples.

An entry is a number (a pause in seconds) or a text: Chinese read by espeak-ng's Cantonese
voice, where {...} holds Jyutping read syllable by syllable with its tone.
"""
import array
import hashlib
import math
import os
import re
import subprocess
import wave

RATE = 22050              # espeak-ng's output rate
ZH_SPEED = 155            # words a minute: a little slower than espeak-ng's default
JP_SPEED = 135            # example syllables slower still, for learners
GAP_IN_SENTENCE = 0.08    # between the Chinese and Jyutping pieces of one text
GAP_BETWEEN_TEXTS = 0.3
PUNCTUATION_PAUSE = 0.2   # a text piece that is only punctuation
SYLLABLE = re.compile(r"^([a-z]+)([1-6])$")
SYLLABIC_NASAL = re.compile(r"^(m|ng)([1-6])$")
VERSION = "1"             # bump when the way pieces sound changes


class NarrationError(ValueError):
    pass


def _jyutping_pieces(text):
    """Jyutping syllables -> speech pieces. espeak-ng's Jyutping voice reads syllabic m and ng
    without their tone, so those become pieces of their own."""
    pieces, run = [], []
    for syllable in text.split():
        if not SYLLABLE.match(syllable):
            raise NarrationError(f"'{syllable}' is not a Jyutping syllable with a tone digit")
        nasal = SYLLABIC_NASAL.match(syllable)
        if nasal:
            if run:
                pieces.append(("jp", " ".join(run)))
                run = []
            pieces.append((nasal.group(1), nasal.group(2)))
        else:
            run.append(syllable)
    if run:
        pieces.append(("jp", " ".join(run)))
    return pieces


def parse(entries):
    """Narration entries -> list of ("pause", seconds) and ("speech", (kind, text))."""
    out = []
    previous_was_text = False
    for entry in entries:
        if isinstance(entry, (int, float)):
            if entry < 0:
                raise NarrationError(f"negative pause {entry}")
            out.append(("pause", float(entry)))
            previous_was_text = False
            continue
        if not isinstance(entry, str):
            raise NarrationError(f"narration entry {entry!r} is neither text nor a pause")
        rest = re.sub(r"\{[^{}]*\}", "", entry)
        if "{" in rest or "}" in rest:
            raise NarrationError(f"unbalanced braces in '{entry}'")
        if previous_was_text:
            out.append(("pause", GAP_BETWEEN_TEXTS))
        first = True
        for i, chunk in enumerate(re.split(r"\{([^{}]*)\}", entry)):
            if i % 2:
                pieces = _jyutping_pieces(chunk)
            elif not chunk.strip():
                continue
            elif not re.search(r"\w", chunk):
                out.append(("pause", PUNCTUATION_PAUSE))
                first = True
                continue
            else:
                pieces = [("zh", chunk.strip())]
            for piece in pieces:
                if not first:
                    out.append(("pause", GAP_IN_SENTENCE))
                out.append(("speech", piece))
                first = False
        previous_was_text = True
    return out


def _espeak_command(kind, text):
    if kind == "zh":
        return ["espeak-ng", "-v", "yue", "-s", str(ZH_SPEED)], text
    if kind == "jp":
        return ["espeak-ng", "-v", "yue-Latn-jyutping", "-s", str(JP_SPEED)], text
    # syllabic nasals: the Cantonese voice's own toned ng, given as phonemes
    return ["espeak-ng", "-v", "yue", "-s", str(JP_SPEED)], f"[['ng{text}]]"


def _notch(samples, freq, q):
    """Band-reject biquad (RBJ cookbook)."""
    w = 2 * math.pi * freq / RATE
    alpha = math.sin(w) / (2 * q)
    a0 = 1 + alpha
    b0, b1, b2 = 1 / a0, -2 * math.cos(w) / a0, 1 / a0
    a1, a2 = -2 * math.cos(w) / a0, (1 - alpha) / a0
    out = array.array("h")
    x1 = x2 = y1 = y2 = 0.0
    for x in samples:
        y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2
        x2, x1, y2, y1 = x1, x, y1, y
        out.append(max(-32768, min(32767, round(y))))
    return out


def read_wav(path):
    with wave.open(path, "rb") as w:
        if (w.getnchannels(), w.getsampwidth(), w.getframerate()) != (1, 2, RATE):
            raise NarrationError(f"{path}: expected 16-bit mono {RATE} Hz")
        samples = array.array("h", w.readframes(w.getnframes()))
    return samples


def write_wav(path, samples):
    tmp = path + ".tmp"
    with wave.open(tmp, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(samples.tobytes())
    os.replace(tmp, path)


def _trim(samples, threshold=200, margin=0.01):
    """Cuts espeak-ng's leading and trailing silence, so the table's pauses are the pauses."""
    loud = [i for i in range(len(samples)) if abs(samples[i]) > threshold]
    if not loud:
        return array.array("h")
    pad = int(margin * RATE)
    return samples[max(0, loud[0] - pad):loud[-1] + pad]


def clip_path(workdir, piece):
    digest = hashlib.sha1(repr((VERSION, ZH_SPEED, JP_SPEED, piece)).encode()).hexdigest()[:16]
    return os.path.join(workdir, f"{digest}.wav")


def synthesize(piece, dest):
    """Speaks one piece into `dest` (trimmed, 16-bit mono)."""
    kind, text = piece
    command, stdin = _espeak_command(kind, text)
    raw = dest + ".raw.wav"
    subprocess.run(command + ["-w", raw], input=stdin, text=True, check=True,
                   stderr=subprocess.DEVNULL)
    samples = _trim(read_wav(raw))
    os.remove(raw)
    if kind == "m":
        # No toned syllabic m in espeak-ng: its toned ng with the dip near 1 kHz that
        # closed lips give a nasal hum, the nearest it can say.
        samples = _notch(samples, 1100, 1.4)
    if not samples:
        raise NarrationError(f"espeak-ng said nothing for {text!r}")
    write_wav(dest, samples)


def render(parsed, clips):
    """Pieces -> (samples, speech intervals in seconds from the start)."""
    out = array.array("h")
    spoken = []
    for what, value in parsed:
        if what == "pause":
            out.extend(array.array("h", bytes(2 * round(value * RATE))))
        else:
            start = len(out) / RATE
            out.extend(clips[value])
            spoken.append((start, len(out) / RATE))
    return out, spoken
