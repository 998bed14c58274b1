"""Narration: entries of the slide table -> pieces of speech and silence -> samples.

Every sound is the native speaker's: the program's recording of each syllable (the data
folder's sound/), so the video teaches the tones the look-up page plays. An entry is
  a number          a pause in seconds;
  "{jp ...}"        example syllables, each played whole;
  {"zh": sentence, "jp": its Jyutping}
                    a sentence read from the same recordings, one syllable for each Chinese
                    character: each cut to its voiced core, shortened with sox's tempo (which
                    keeps the pitch, and so the tone) to a teaching pace, levelled and joined
                    to the next with a short cross-fade; its punctuation makes the pauses.
A sentence holds Chinese characters and punctuation only: digits and letters are written as
they are read, so that its characters and syllables pair off one to one.
"""
import array
import hashlib
import math
import os
import re
import subprocess
import wave

RATE = 22050              # the recordings' rate
GAP_IN_WORD = 0.1         # between the whole syllables of one {...}
GAP_BETWEEN_TEXTS = 0.3
CLAUSE_MARKS, CLAUSE_PAUSE = "，、；：,;:", 0.22
SENTENCE_MARKS, SENTENCE_PAUSE = "。？！.?!", 0.4
QUOTE_MARKS = "「」『』“”《》"   # not read, no pause
SYLLABLE = re.compile(r"^([a-z]+)([1-6])$")
HAN = re.compile(r"[\u3400-\u9fff\uf900-\ufaff\U00020000-\U0003ffff]")

# How a sentence's syllable is made from its recording.
FRAME = RATE // 100       # 10 ms level frames
CORE_START_DB = -35.0     # the core starts at the first frame this close to the loudest
CORE_END_DB = -24.0       # and ends after the last one: the isolated syllable's fading
                          # breath goes, the end of its tone (a tone 2's rise) stays
PACE = 0.35               # seconds: what a syllable of the median core length becomes
PACE_MIN, PACE_MAX = 0.22, 0.42
PACE_POWER = 0.5          # lengths are compressed, not equalised: long vowels stay longer
FINAL_LENGTHENING = 1.2   # the last syllable before a pause is drawn out, as a reader does
MAX_TEMPO = 2.2           # sox's tempo stays clean up to about this
CROSSFADE = 0.025         # seconds of overlap between neighbouring syllables
EDGE_FADE = 0.012         # fade at a phrase's start and end
LEVEL_DB = -20.0          # RMS of every syllable's core, dBFS: the recordings' own level
PEAK = 29000              # never louder than -1 dBFS
VERSION = "3"             # bump when the way pieces sound changes


class NarrationError(ValueError):
    pass


def _syllables(text):
    syllables = text.split()
    bad = [s for s in syllables if not SYLLABLE.match(s)]
    if bad:
        raise NarrationError(f"'{' '.join(bad)}' is not Jyutping with tone digits")
    return syllables


def _sentence(entry):
    """{"zh", "jp"} -> phrases of syllables, each with the pause after it (0 at the end)."""
    zh, jp = entry.get("zh"), entry.get("jp")
    if not isinstance(zh, str) or not zh.strip():
        raise NarrationError(f"sentence {entry!r} has no Chinese text ('zh')")
    if not isinstance(jp, str) or not jp.strip():
        raise NarrationError(f"sentence '{zh}' has no Jyutping line ('jp')")
    if set(entry) - {"zh", "jp"}:
        raise NarrationError(f"sentence '{zh}': unknown fields {sorted(set(entry) - {'zh', 'jp'})}")
    odd = sorted({c for c in zh if not (HAN.match(c) or c.isspace() or c in CLAUSE_MARKS
                                        or c in SENTENCE_MARKS or c in QUOTE_MARKS)})
    if odd:
        raise NarrationError(f"sentence '{zh}': write {' '.join(odd)} as it is read, in "
                             "Chinese characters")
    syllables = _syllables(jp)
    chars = HAN.findall(zh)
    if len(chars) != len(syllables):
        raise NarrationError(f"sentence '{zh}' has {len(chars)} characters but its Jyutping "
                             f"line '{jp}' has {len(syllables)} syllables")
    phrases, current, taken = [], [], iter(syllables)
    for c in zh:
        if HAN.match(c):
            current.append(next(taken))
        elif c in CLAUSE_MARKS + SENTENCE_MARKS and current:
            phrases.append((tuple(current), CLAUSE_PAUSE if c in CLAUSE_MARKS else SENTENCE_PAUSE))
            current = []
    if current:
        phrases.append((tuple(current), 0.0))
    phrases[-1] = (phrases[-1][0], 0.0)  # what follows a sentence is the table's to say
    return phrases


def parse(entries):
    """Narration entries -> list of ("pause", seconds) and ("speech", piece), where a piece
    is ("syllable", spelling), played whole, or ("phrase", spellings), read joined."""
    out = []
    previous_was_speech = False
    for entry in entries:
        if isinstance(entry, bool) or not isinstance(entry, (int, float, str, dict)):
            raise NarrationError(f"narration entry {entry!r} is neither a pause, example "
                                 "syllables nor a sentence")
        if isinstance(entry, (int, float)):
            if entry < 0:
                raise NarrationError(f"negative pause {entry}")
            out.append(("pause", float(entry)))
            previous_was_speech = False
            continue
        if isinstance(entry, str):
            whole = re.fullmatch(r"\s*\{([^{}]*)\}\s*", entry)
            if not whole:
                raise NarrationError(f"sentence '{entry}' has no Jyutping line: write it as "
                                     '{"zh": sentence, "jp": its Jyutping}, or example '
                                     "syllables as {jp}")
            pieces = [(("syllable", s), GAP_IN_WORD) for s in _syllables(whole.group(1))]
        else:
            pieces = [(("phrase", syllables), pause) for syllables, pause in _sentence(entry)]
        if not pieces:
            raise NarrationError(f"empty narration entry {entry!r}")
        if previous_was_speech:
            out.append(("pause", GAP_BETWEEN_TEXTS))
        for n, (piece, pause_after) in enumerate(pieces):
            out.append(("speech", piece))
            if n + 1 < len(pieces):
                out.append(("pause", pause_after))
        previous_was_speech = True
    return out


def syllables_of(parsed):
    """Every spelling the parsed narration plays."""
    out = []
    for what, value in parsed:
        if what == "speech":
            out += [value[1]] if value[0] == "syllable" else list(value[1])
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


def recording_path(sound_dir, spelling):
    return os.path.join(sound_dir, spelling + ".wav")


def _recipe():
    return (CORE_START_DB, CORE_END_DB, PACE, PACE_MIN, PACE_MAX, PACE_POWER, FINAL_LENGTHENING,
            MAX_TEMPO, CROSSFADE, EDGE_FADE, LEVEL_DB, PEAK, RATE)


def _frame_db(samples):
    out = []
    for i in range(0, len(samples) - FRAME + 1, FRAME):
        energy = sum(x * x for x in samples[i:i + FRAME]) / FRAME
        out.append(10 * math.log10(energy + 1e-9))
    return out


def voiced_core(samples):
    """(start, end) sample indices of the part of an isolated syllable that is read in a
    sentence: from its first sound (a quiet initial included) to where its voice has
    faded CORE_END_DB below its loudest frame."""
    levels = _frame_db(samples)
    if not levels:
        return 0, len(samples)
    loudest = max(levels)
    start = next(i for i, v in enumerate(levels) if v >= loudest + CORE_START_DB)
    end = max(i for i, v in enumerate(levels) if v >= loudest + CORE_END_DB)
    return start * FRAME, min(len(samples), (end + 1) * FRAME)


def paced_length(core_seconds, median, final):
    """How long a syllable with a core this long lasts in a sentence."""
    length = PACE * (core_seconds / median) ** PACE_POWER
    length = min(PACE_MAX, max(PACE_MIN, length)) * (FINAL_LENGTHENING if final else 1.0)
    return min(core_seconds, length)


def _tempo(samples, factor):
    """sox's tempo (WSOLA, tuned for speech): shorter by `factor`, same pitch."""
    if factor <= 1.001:
        return samples
    fmt = ["-t", "raw", "-r", str(RATE), "-e", "signed", "-b", "16", "-c", "1"]
    result = subprocess.run(["sox", *fmt, "-", *fmt, "-", "tempo", "-s", f"{factor:.4f}"],
                            input=samples.tobytes(), capture_output=True)
    if result.returncode:
        raise NarrationError(f"sox tempo failed: {result.stderr.decode(errors='replace')[:300]}")
    return array.array("h", result.stdout)


def _levelled(samples):
    rms = math.sqrt(sum(x * x for x in samples) / max(1, len(samples)))
    gain = 32768 * 10 ** (LEVEL_DB / 20) / max(rms, 1.0)
    gain = min(gain, PEAK / max(1, max(abs(x) for x in samples)))
    return [x * gain for x in samples]


def _fade(samples, seconds, at_end):
    n = min(len(samples), round(seconds * RATE))
    for i in range(n):
        gain = math.sin(0.5 * math.pi * (i + 0.5) / n)   # equal-power half of a cross-fade
        samples[len(samples) - 1 - i if at_end else i] *= gain


def join(parts):
    """Syllables (float lists) -> one phrase: neighbours overlap by CROSSFADE."""
    overlap = round(CROSSFADE * RATE)
    out = []
    for n, part in enumerate(parts):
        part = list(part)
        _fade(part, EDGE_FADE if n == 0 else CROSSFADE, at_end=False)
        _fade(part, EDGE_FADE if n == len(parts) - 1 else CROSSFADE, at_end=True)
        lap = min(overlap, len(out), len(part)) if n else 0
        start = len(out) - lap
        for i in range(lap):
            out[start + i] += part[i]
        out.extend(part[lap:])
    return array.array("h", (max(-32767, min(32767, round(x))) for x in out))


class Reader:
    """Reads phrases from the recordings of the spellings it is given. Their median core
    length is the pace's yardstick, so the pace holds however the recordings are trimmed."""

    def __init__(self, sound_dir, spellings):
        self.sound_dir = sound_dir
        self.recordings, self.cores = {}, {}
        h = hashlib.sha1(repr((VERSION, _recipe())).encode())
        for s in sorted(set(spellings)):
            self.recordings[s] = read_wav(recording_path(sound_dir, s))
            self.cores[s] = voiced_core(self.recordings[s])
            h.update(s.encode() + b"\0" + self.recordings[s].tobytes())
        lengths = sorted((b - a) / RATE for a, b in self.cores.values())
        self.median = lengths[len(lengths) // 2] if lengths else 0.0
        self.digest = h.hexdigest()

    def clip_path(self, workdir, piece):
        """Where a piece's samples are: a syllable's own recording, or a phrase kept in
        workdir under a digest of how and from what it is made."""
        kind, value = piece
        if kind == "syllable":
            return recording_path(self.sound_dir, value)
        name = hashlib.sha1(repr((self.digest, value)).encode()).hexdigest()[:16]
        return os.path.join(workdir, f"{name}.wav")

    def syllable(self, spelling, final):
        """A recording as read in a sentence (floats, levelled). A syllable shorter than the
        pace's least (a stop final's) keeps more of its recording, then silence: its closure."""
        recording = self.recordings[spelling]
        start, end = self.cores[spelling]
        end = max(end, min(len(recording), start + round(PACE_MIN * RATE)))
        core = recording[start:end]
        target = paced_length(len(core) / RATE, self.median, final)
        factor = min(MAX_TEMPO, len(core) / RATE / target)
        samples = _levelled(_tempo(core, factor))
        return samples + [0.0] * max(0, round(PACE_MIN * RATE) - len(samples))

    def synthesize(self, piece, dest):
        """Makes a phrase's samples into `dest` (a whole syllable is its recording)."""
        kind, value = piece
        if kind != "phrase":
            raise NarrationError(f"{piece!r} is played as recorded, not made")
        write_wav(dest, join([self.syllable(s, n == len(value) - 1)
                              for n, s in enumerate(value)]))


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
