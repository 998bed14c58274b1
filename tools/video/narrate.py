"""Narration: entries of the slide table -> pieces of speech and silence -> samples.

An entry is a number (a pause in seconds) or a text: Chinese read by espeak-ng's Cantonese
voice, where {...} holds Jyutping syllables, each played from the program's own recording
of it (the native speaker's, in the data folder's sound/), so the video teaches the tones
the look-up page plays.
"""
import array
import hashlib
import os
import re
import subprocess
import wave

RATE = 22050              # espeak-ng's output rate, and the recordings'
ZH_SPEED = 155            # words a minute: a little slower than espeak-ng's default
GAP_IN_SENTENCE = 0.08    # between the Chinese and Jyutping pieces of one text
GAP_IN_WORD = 0.1         # between the syllables of one {...}
GAP_BETWEEN_TEXTS = 0.3
PUNCTUATION_PAUSE = 0.2   # a text piece that is only punctuation
SYLLABLE = re.compile(r"^([a-z]+)([1-6])$")
VERSION = "2"             # bump when the way pieces sound changes


class NarrationError(ValueError):
    pass


def _jyutping_pieces(text):
    """Jyutping syllables -> one recording piece each."""
    pieces = []
    for syllable in text.split():
        if not SYLLABLE.match(syllable):
            raise NarrationError(f"'{syllable}' is not a Jyutping syllable with a tone digit")
        pieces.append(("syllable", syllable))
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
            for n, piece in enumerate(pieces):
                if not first:
                    out.append(("pause", GAP_IN_WORD if n else GAP_IN_SENTENCE))
                out.append(("speech", piece))
                first = False
        previous_was_text = True
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


def clip_path(workdir, sound_dir, piece):
    """Where a piece's samples are: a syllable's recording in sound_dir, or spoken Chinese
    cached in workdir by its content."""
    kind, text = piece
    if kind == "syllable":
        return os.path.join(sound_dir, text + ".wav")
    digest = hashlib.sha1(repr((VERSION, ZH_SPEED, piece)).encode()).hexdigest()[:16]
    return os.path.join(workdir, f"{digest}.wav")


def synthesize(piece, dest):
    """Speaks one Chinese piece into `dest` (trimmed, 16-bit mono)."""
    kind, text = piece
    if kind == "syllable":
        raise NarrationError(f"no recording of {text} at {dest}: build the data (target 'data') "
                             f"first, and give every syllable of the video a dictionary reading")
    raw = dest + ".raw.wav"
    subprocess.run(["espeak-ng", "-v", "yue", "-s", str(ZH_SPEED), "-w", raw], input=text,
                   text=True, check=True, stderr=subprocess.DEVNULL)
    samples = _trim(read_wav(raw))
    os.remove(raw)
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
