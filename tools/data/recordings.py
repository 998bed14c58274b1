"""Makes one WAV recording per spelling from the native speaker's recordings in
third_party/jyutnet-syllables, plus the hit and miss sounds.

Every recording is 16-bit PCM, mono, trimmed of the silence around the voice (a
quiet initial such as s-, f-, h- or aspiration is noise, and stays; the end is where
the voice ends, a nasal's low murmur included), levelled to one loudness, and less
than MAX_SECONDS long: the look-up walk gives a recording 800 ms before it plays the
next. The speaker draws syllables out to about a second, so every syllable is
shortened, by a map that keeps longer ones longer (installed_seconds), with Praat's
pitch-synchronous overlap-add, which keeps its pitch contour and so its tone whole. The few spellings the set lacks
are made from the speaker's recording of a related syllable in the same tone
(STAND_INS).
"""
import concurrent.futures
import hashlib
import os
import struct
import subprocess
import tempfile
import wave

HERE = os.path.dirname(os.path.abspath(__file__))
SET_DIR = os.environ.get("LORVANE_SYLLABLES") or os.path.join(
    HERE, "..", "..", "third_party", "jyutnet-syllables")
CHECKSUMS = "SHA256SUMS"
STAND_INS = os.path.join(HERE, "stand-ins.tsv")
LENGTHEN = os.path.join(HERE, "lengthen.praat")

RATE = 22050
FRAME = RATE // 100        # 10 ms analysis frames
MAX_SECONDS = 0.75         # the look-up walk plays the next recording 800 ms on
LENGTH_KNEE = 0.18         # seconds: shorter syllables keep their length ...
LENGTH_POWER = 0.7         # ... longer ones get knee * (length / knee) ** power
SOFT_TOP = 0.72            # seconds: from here lengths bend towards MAX_SECONDS
ONSET_SHARE = 0.35         # of a shortened syllable, what its initial may keep whole
TEMPO_MAX = 2.5            # faster than this the voice garbles: cut instead
FADE_OUT_MS = 30
SPLICE = RATE * 5 // 1000  # cross-fade where the initial meets the shortened voice
VOICE_LOW_HZ, VOICE_HIGH_HZ = 70, 400
VOICED_PERIODICITY = 0.8   # aspiration and frication: under 0.5
ONSET_PERIODICITY = 0.6
VOICED_DB = 6.0            # above the file's noise floor
VOICE_RANGE_DB = 40.0      # and at most this far below its loudest frame
END_MARGIN = 3 * FRAME     # kept after the last voiced frame
LEVEL_DB = -20.0           # RMS of every syllable, dBFS
PEAK_DB = -1.0             # never louder than this, whatever the level asks
BURST_FRAMES = 4           # how far before its aspiration a stop's burst may lie
BATCH = 100                # files decoded by one ffmpeg process

HIT_SOUND = ["synth", "0.32", "sine", "1318.5", "sine", "1975.5", "remix", "1,2",
             "fade", "q", "0.005", "0.32", "0.26"]
MISS_SOUND = ["synth", "0.35", "sawtooth", "110", "sawtooth", "116", "remix", "1,2",
              "lowpass", "900", "fade", "q", "0.01", "0.35", "0.08"]
SIGNAL_LEVEL = ["gain", "-n", "-3"]


class SourceError(RuntimeError):
    """A recording of the set is missing, damaged or cannot be decoded."""


def read_checksums():
    """{spelling: (path of its file, sha256)} for every file the set comes with."""
    out = {}
    with open(os.path.join(SET_DIR, CHECKSUMS)) as f:
        for line in f:
            digest, rel = line.split(None, 1)
            rel = rel.strip()
            out[os.path.basename(rel)[:-len(".opus")]] = (os.path.join(SET_DIR, rel), digest)
    return out


def read_stand_ins():
    """{spelling: (source spelling, length factor, why)} from stand-ins.tsv."""
    out = {}
    with open(STAND_INS, encoding="utf-8") as f:
        for line in f:
            if line.strip() and not line.startswith("#"):
                spelling, source, factor, why = line.rstrip("\n").split("\t")
                out[spelling] = (source, float(factor), why)
    return out


def plan(spellings, known, stand_ins):
    """{spelling: (source spelling, length factor)}: the set's own recording where it
    has one, else the stand-in. Raises SourceError naming every spelling with neither."""
    out, lacking = {}, []
    for s in spellings:
        if s in known:
            out[s] = (s, 1.0)
        elif s in stand_ins and stand_ins[s][0] in known:
            out[s] = stand_ins[s][:2]
        else:
            lacking.append(s)
    if lacking:
        raise SourceError("the recorded set has no " + " ".join(lacking)
                          + f" and {os.path.basename(STAND_INS)} names no stand-in for them")
    return out


def check_sources(plan_, checksums):
    """{spelling: what its recording is made from (source, its file's checksum, factor)}.
    Reads every source file the plan uses and raises SourceError naming each one that is
    missing or differs from the set's checksum."""
    made_from, errors, actual = {}, [], {}
    for source in sorted({src for src, _ in plan_.values()}):
        path, digest = checksums[source]
        try:
            with open(path, "rb") as f:
                actual[source] = hashlib.sha256(f.read()).hexdigest()
        except OSError as e:
            errors.append(f"{source}: the recording {path} is missing ({e.strerror})")
            continue
        if actual[source] != digest:
            errors.append(f"{source}: the recording {path} is damaged (its checksum differs "
                          f"from the one in {CHECKSUMS})")
    if errors:
        raise SourceError("\n".join(errors))
    for spelling, (source, factor) in plan_.items():
        made_from[spelling] = [source, actual[source], factor]
    return made_from


def _ffmpeg_decode(pairs):
    """Decodes (source, destination) pairs in one ffmpeg run; returns its error text."""
    cmd = ["ffmpeg", "-nostdin", "-v", "error", "-y", "-threads", "1"]
    for src, _ in pairs:
        cmd += ["-i", src]
    for i, (_, dest) in enumerate(pairs):
        cmd += ["-map", f"{i}:a", "-ac", "1", "-ar", str(RATE), "-c:a", "pcm_s16le", dest]
    r = subprocess.run(cmd, capture_output=True, text=True)
    return r.stderr.strip() if r.returncode else ""


def decode_all(sources, workdir, jobs):
    """sources: {name: opus path} -> {name: decoded wav path}, batched, jobs at a time.
    A batch that fails is decoded again file by file, to name the files at fault."""
    names = sorted(sources)
    dest = {n: os.path.join(workdir, n + ".wav") for n in names}
    batches = [names[i:i + BATCH] for i in range(0, len(names), BATCH)]

    def run(batch):
        if not _ffmpeg_decode([(sources[n], dest[n]) for n in batch]):
            return []
        errors = []
        for n in batch:
            err = _ffmpeg_decode([(sources[n], dest[n])])
            if err:
                errors.append(f"{n}: {sources[n]} cannot be decoded: {err.splitlines()[-1]}")
        return errors

    with concurrent.futures.ThreadPoolExecutor(max_workers=jobs) as pool:
        errors = [e for batch_errors in pool.map(run, batches) for e in batch_errors]
    if errors:
        raise SourceError("\n".join(errors))
    return dest


def read_wav(path):
    """The samples (-1 to 1) of a mono WAV file of 16- or 32-bit PCM (Praat writes the
    latter with the extensible header, which the wave module of Python 3.11 refuses)."""
    import numpy as np
    with open(path, "rb") as f:
        data = f.read()
    at, fmt = 12, None
    while at + 8 <= len(data) and data[:4] == b"RIFF":
        chunk, size = data[at:at + 4], struct.unpack("<I", data[at + 4:at + 8])[0]
        body = data[at + 8:at + 8 + size]
        if chunk == b"fmt ":
            fmt = struct.unpack("<HHIIHH", body[:16])
        elif chunk == b"data" and fmt:
            channels, bits = fmt[1], fmt[5]
            if channels != 1 or bits not in (16, 32):
                break
            return np.frombuffer(body, dtype=f"<i{bits // 8}").astype(np.float64) / 2 ** (bits - 1)
        at += 8 + size + (size & 1)
    raise SourceError(f"{path}: not a 16- or 32-bit mono WAV file")


def write_wav(path, samples):
    import numpy as np
    pcm = np.clip(np.round(samples * 32768), -32768, 32767).astype("<i2")
    tmp = path + ".tmp"
    with wave.open(tmp, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(pcm.tobytes())
    os.replace(tmp, path)


def _frame_levels(x):
    """dB of each 10 ms frame of the signal with its low hum weighed down (a first-order
    pre-emphasis), so that room rumble counts as silence and frication as sound."""
    import numpy as np
    y = np.append(x[:1], x[1:] - 0.95 * x[:-1])
    n = len(y) // FRAME
    return 10 * np.log10((y[:n * FRAME].reshape(n, FRAME) ** 2).mean(axis=1) + 1e-10)


def _frames(x, width):
    """The signal cut into one window of width samples centred on each 10 ms frame."""
    import numpy as np
    n = len(x) // FRAME
    padded = np.concatenate([np.zeros(width // 2 - FRAME // 2), x, np.zeros(width)])
    return padded[np.arange(n)[:, None] * FRAME + np.arange(width)]


def _band_levels(x):
    """dB of each 10 ms frame between 60 Hz and 4 kHz, unweighted: the murmur of a nasal
    ending lies under 500 Hz, where pre-emphasis would take it for hum."""
    import numpy as np
    window = np.hanning(2 * FRAME)
    power = np.abs(np.fft.rfft(_frames(x, 2 * FRAME) * window, axis=1)) ** 2
    hz = np.fft.rfftfreq(2 * FRAME, 1 / RATE)
    band = power[:, (hz >= 60) & (hz <= 4000)].sum(axis=1)
    return 10 * np.log10(band / (window ** 2).sum() / FRAME + 1e-12)


def _periodicity(x):
    """How periodic each 10 ms frame is at a voice's F0 (70-400 Hz): the peak of its
    normalised autocorrelation over three periods of 70 Hz, near 1 for voice, about 0.5
    for room noise with hum in it."""
    import numpy as np
    width = 3 * RATE // VOICE_LOW_HZ
    window = np.hanning(width)
    frames = _frames(x, width)
    frames = frames - frames.mean(axis=1, keepdims=True)
    ac = np.fft.irfft(np.abs(np.fft.rfft(frames * window, 2 * width, axis=1)) ** 2, axis=1)[:, :width]
    window_ac = np.fft.irfft(np.abs(np.fft.rfft(window, 2 * width)) ** 2)[:width]
    r = ac / (ac[:, :1] + 1e-12) / (window_ac / window_ac[0])
    return r[:, RATE // VOICE_HIGH_HZ:RATE // VOICE_LOW_HZ].max(axis=1)


def _sounding_frames(levels, floor):
    """(loud frames, starts of their runs of 30 ms or more): frames above the noise floor
    by a margin. A lone click is not the syllable."""
    import numpy as np
    peak = levels.max()
    loud = levels > min(max(floor + 10, peak - 55), peak - 25)
    runs = np.convolve(loud, np.ones(3, dtype=int), mode="valid") == 3
    return loud, np.nonzero(runs)[0]


def _voiced_stretch(x):
    """(first, last) frame of the syllable's voice: frames periodic at a voice's F0 and
    VOICED_DB above the file's own floor in the 60 Hz-4 kHz band (and less than
    VOICE_RANGE_DB below its loudest frame; a nasal's murmur lies 20-30 dB below),
    reached from the loudest of them while the band stays above that level (a creaky or
    breathy stretch of a falling tone is less periodic but still the voice). The floor
    is the quietest 100 ms, digital silence apart: a syllable may run to the end of its
    file, so the floor after it cannot be trusted."""
    import numpy as np
    levels, periodic = _band_levels(x), _periodicity(x)
    audible = levels[levels > -90]
    if len(audible) < 10:
        return None
    floor = min(np.median(audible[i:i + 10]) for i in range(len(audible) - 9))
    above = levels > max(floor + VOICED_DB, levels.max() - VOICE_RANGE_DB)
    voiced = above & (periodic > VOICED_PERIODICITY)
    if not voiced.any():
        return None
    peak = int(np.argmax(np.where(voiced, levels, -np.inf)))
    last, quiet = peak, 0
    for i in range(peak, len(levels)):
        last = i if voiced[i] else last
        quiet = 0 if above[i] else quiet + 1
        if quiet > 3:
            break
    # Back from the peak, the voice may begin breathy (tone 4): less periodic.
    onset = above & (periodic > ONSET_PERIODICITY)
    first = peak
    while first > 0 and (onset[first - 1] or (first > 1 and onset[first - 2])):
        first -= 1 if onset[first - 1] else 2
    return first, last


def _floor_before(levels):
    """The room's level before the syllable: the quietest of the first 10 frames. A file
    that opens with digital silence is the room from the frame after the one the silence
    ends in: against the silence, the room's own noise would count as the syllable."""
    import numpy as np
    audible = np.nonzero(levels > -90)[0]
    start = audible[0] + 1 if len(audible) and audible[0] > 0 else 0
    return levels[start:start + 10].min()


def voice_span(x):
    """(first, voice, voice_end, last): first and end sample of the syllable with its
    initial, the sample where its voice begins (after any frication, aspiration or
    burst) and where it ends (what lies after is breath or a release, not voice). The
    start is found on a treble-weighted level, so that s-, f-, h- and aspiration count,
    against the floor before it (breath before the syllable sits higher than the room
    after it); the end on the voice itself, low band included (_voiced_stretch)."""
    import numpy as np
    levels = _frame_levels(x)
    if len(levels) < 20:
        raise SourceError("shorter than 0.2 s")
    loud, start_runs = _sounding_frames(levels, _floor_before(levels))
    _, end_runs = _sounding_frames(levels, levels[-10:].min())
    if not len(start_runs) or not len(end_runs):
        raise SourceError("no voice in it")
    # A stop's release burst is a lone loud frame up to 40 ms before its aspiration.
    start = start_runs[0]
    while True:
        before = np.nonzero(loud[max(0, start - BURST_FRAMES):start])[0]
        if not len(before):
            break
        start = max(0, start - BURST_FRAMES) + before[0]
    first = max(0, start * FRAME - FRAME * 3 // 2)
    end = (end_runs[-1] + 3) * FRAME + 3 * FRAME
    stretch = _voiced_stretch(x)
    voice, voice_end = first, end
    if stretch:
        voice = max(first, stretch[0] * FRAME)
        voice_end = min(len(x), (stretch[1] + 1) * FRAME + END_MARGIN)
    end = min(len(x), max(end, voice_end))
    return first, voice, min(voice_end, end), end


def installed_seconds(seconds):
    """The length a syllable of the given length (trimmed) gets: kept below LENGTH_KNEE,
    above it length ** LENGTH_POWER (so a long vowel stays longer than a short one by a
    smaller ratio, and order is kept), bent softly from SOFT_TOP towards MAX_SECONDS."""
    import math
    if seconds <= LENGTH_KNEE:
        return seconds
    v = math.log(LENGTH_KNEE) + LENGTH_POWER * math.log(seconds / LENGTH_KNEE)
    top = math.log(SOFT_TOP)
    if v > top:
        room = math.log(MAX_SECONDS) - top
        v = top + room * (1 - math.exp(-(v - top) / room))
    return math.exp(v)


def _fade(x, n_out=RATE * FADE_OUT_MS // 1000):
    import numpy as np
    x = x.copy()
    n_in = RATE * 5 // 1000
    x[:n_in] *= np.sin(np.linspace(0, np.pi / 2, n_in)) ** 2
    x[-n_out:] *= np.cos(np.linspace(0, np.pi / 2, n_out)) ** 2
    return x


def lengthen_all(pieces, workdir, jobs):
    """pieces: {key: (samples, speed)} -> {key: the samples played speed times as fast, their
    pitch kept} (Praat's Lengthen (overlap-add)), in jobs Praat processes of many files each:
    one process per file would spend most of its time starting."""
    keys = sorted(pieces)
    rows = []
    for i, key in enumerate(keys):
        src, dest = (os.path.join(workdir, f"piece{i}.{k}.wav") for k in ("in", "out"))
        write_wav(src, pieces[key][0])
        rows.append((src, dest, 1 / pieces[key][1]))

    def run(batch, table):
        with open(table, "w", encoding="utf-8") as f:
            f.write("in\tout\tfactor\n")
            f.writelines(f"{src}\t{dest}\t{factor:.6f}\n" for src, dest, factor in batch)
        r = subprocess.run(["praat", "--run", LENGTHEN, table], capture_output=True, text=True)
        if r.returncode:
            raise RuntimeError(f"praat {os.path.basename(LENGTHEN)}: {r.stderr.strip()}")

    batches = [rows[i::jobs] for i in range(jobs) if rows[i::jobs]]
    with concurrent.futures.ThreadPoolExecutor(max_workers=jobs) as pool:
        list(pool.map(run, batches, [os.path.join(workdir, f"lengthen{i}.tsv") for i in range(len(batches))]))
    out = {}
    for key, (src, dest, _) in zip(keys, rows):
        out[key] = read_wav(dest)
        os.remove(src)
        os.remove(dest)
    return out


def prepare(x, factor, margin_at_pace=True):
    """First half of shaping a decoded syllable: trims it and works out its shortening.
    Returns (job for finish, pieces {name: (samples, speed)} to be played speed times as
    fast). The initial's frication or aspiration is kept whole while it takes at most
    ONSET_SHARE of the target, so the voice carries the shortening; beyond TEMPO_MAX the end
    is cut (and faded out). What follows the voice keeps its pace, so that the fade-out falls
    on it and not on the voice's last frames (the top of a rising tone); without
    margin_at_pace it is shortened with the voice and the fade-out shrinks with it, which
    keeps the proportions of a contour that turns in its last frames (see tones.py)."""
    first, voice, voice_end, last = voice_span(x)
    y = x[first:last]
    job = {"trimmed": len(y) / RATE}
    job["target"] = target = int(round(installed_seconds(len(y) / RATE) * factor * RATE))
    # What follows the voice beyond END_MARGIN goes first, then the voice is sped up.
    job["y"] = y = y[:max(target, voice_end - first)]
    if target >= len(y):
        return job, {}
    voice -= first
    whole = len(y) == voice_end - first
    after = min(END_MARGIN, len(y) - voice) if whole and margin_at_pace else 0
    onset = min(voice, max(int(ONSET_SHARE * target), int(voice / TEMPO_MAX)))
    # The voice starts SPLICE early, so that initial and voice overlap in a cross-fade.
    joint = min(SPLICE, onset)
    rest = y[voice - joint:len(y) - after]
    pieces = {"voice": (rest, min(TEMPO_MAX, len(rest) / max(1, target - onset + joint - after)))}
    if voice > onset:
        pieces["onset"] = (y[:voice], voice / onset)
    job.update(voice=voice, onset=onset, joint=joint, after=after)
    if whole and not margin_at_pace:
        job["fade"] = int(min(END_MARGIN, len(y) - voice) / pieces["voice"][1])
    return job, pieces


def finish(job, played):
    """The recording (shortened to its length, faded and levelled) from prepare's job and its
    pieces played; with its length trimmed and the seconds cut off its end."""
    import numpy as np
    y, target, cut = job["y"], job["target"], 0
    if played:
        voice, onset, joint, after = job["voice"], job["onset"], job["joint"], job["after"]
        head = played["onset"][:onset] if "onset" in played else y[:voice]
        tail = np.concatenate([played["voice"], y[len(y) - after:]])
        if joint:
            ramp = np.linspace(0, 1, joint)
            tail[:joint] = head[-joint:] * (1 - ramp) + tail[:joint] * ramp
            head = head[:-joint]
        y = np.concatenate([head, tail])
        y, cut = y[:target], max(0, len(y) - target)
    # A cut end always fades over FADE_OUT_MS; a margin shortened with the voice over itself.
    y = _fade(y, job["fade"]) if "fade" in job and not cut else _fade(y)
    if len(y) > MAX_SECONDS * RATE:
        raise RuntimeError(f"{len(y) / RATE:.3f} s after shortening")
    return _level(y), [round(job["trimmed"], 4), round(cut / RATE, 4)]


def _level(x):
    import numpy as np
    rms = 10 * np.log10((x ** 2).mean())
    peak = 20 * np.log10(np.abs(x).max())
    gain = min(LEVEL_DB - rms, PEAK_DB - peak)
    return x * 10 ** (gain / 20)


def shape_all(spellings, plan_, decoded, sound_dir, work, jobs, margin_at_pace=True, progress=None):
    """Shapes the recordings of spellings into sound_dir from their sources decoded into
    decoded ({source: wav path}). Returns {spelling: [trimmed length, seconds cut off its
    end]} (see finish)."""
    def start(s):
        source, factor = plan_[s]
        try:
            return prepare(read_wav(decoded[source]), factor, margin_at_pace)
        except SourceError as e:
            raise SourceError(f"{s}: the recording of {source} is damaged: {e}")

    with concurrent.futures.ThreadPoolExecutor(max_workers=jobs) as pool:
        prepared = dict(zip(spellings, pool.map(start, spellings)))
    played = lengthen_all({(s, k): piece for s in spellings for k, piece in prepared[s][1].items()},
                          work, jobs)
    made = {}
    for done, s in enumerate(spellings, 1):
        try:
            y, made[s] = finish(prepared[s][0], {k: v for (t, k), v in played.items() if t == s})
        except RuntimeError as e:
            raise RuntimeError(f"{s}: {e}")
        write_wav(os.path.join(sound_dir, s + ".wav"), y)
        if progress:
            progress(done, len(spellings))
    return made


def to_make(spellings, sound_dir):
    """The spellings whose recordings make_all makes: every one of a syllable that misses a
    recording in sound_dir. A syllable's recordings are made together: which way its tones
    are shaped depends on all of them, and a rebuild of one must give what a clean build gives."""
    touched = {s[:-1] for s in spellings if not os.path.exists(os.path.join(sound_dir, s + ".wav"))}
    return sorted(s for s in spellings if s[:-1] in touched)


def make_all(plan_, checksums, sound_dir, jobs, progress):
    """Makes the recordings of plan_ ({spelling: (source, factor)}) of every syllable that
    misses one in sound_dir, from sources that check_sources passed; progress(done, total) as they
    finish; then has tones.keep_apart check the tones of every syllable it touched against
    the speaker's own. The signals are made if missing. Returns ({spelling: [trimmed length,
    seconds cut off its end]} of the recordings it made (see finish), lines reporting the
    tones)."""
    import tones
    todo = to_make(plan_, sound_dir)
    made, report = {}, []
    if todo:
        own = [s for s in todo if plan_[s][0] == s]
        with tempfile.TemporaryDirectory(prefix=".recordings-", dir=os.path.dirname(sound_dir)) as work:
            decoded = decode_all({src: checksums[src][0] for src in {plan_[s][0] for s in todo}}, work, jobs)
            made = shape_all(todo, plan_, decoded, sound_dir, work, jobs, progress=progress)

            def reshape(spellings, folder):
                return shape_all(spellings, plan_, decoded, folder, work, jobs, margin_at_pace=False)

            remade, report = tones.keep_apart({s: decoded[s] for s in own}, sound_dir, reshape, work, jobs)
            made.update(remade)
    for name, effects in (("ok.wav", HIT_SOUND), ("ng.wav", MISS_SOUND)):
        if not os.path.exists(os.path.join(sound_dir, name)):
            make_signal(effects, os.path.join(sound_dir, name))
    return made, report


def make_signal(effects, path):
    tmp = path + ".tmp.wav"
    # -D: no dither, so the same input always gives the same bytes.
    subprocess.run(["sox", "-n", "-D", "-r", str(RATE), "-b", "16", "-c", "1", "-e", "signed-integer",
                    tmp] + effects + SIGNAL_LEVEL, check=True, capture_output=True)
    os.replace(tmp, path)
