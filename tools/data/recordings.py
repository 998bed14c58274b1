"""Makes one WAV recording per spelling with espeak-ng and sox, plus the hit
and miss sounds. Every file is 16-bit PCM, mono, trimmed of silence.

espeak-ng's Jyutping voice drops the tone of the syllabic nasals (m4 sounds
like m1, ng5 like ng2) and says a bare "m" for only 20 ms, so those get their
own recipes: ng and hng are spoken as the yue voice's toned phonemes, and m and
hm are a held nasal bent to the pitch contour the same voice gives each tone.
"""
import concurrent.futures
import os
import subprocess

RATE = 22050
TRIM = ["silence", "1", "0.01", "0.5%", "reverse", "silence", "1", "0.01", "0.5%", "reverse"]
LEVEL = ["gain", "-n", "-3"]

# Pitch (cents above the held nasal's own 72 Hz) at the start, and the bend over
# the second half, measured on the yue voice's toned "ng" for each tone.
NASAL_TONES = {"1": (516, 0), "2": (347, 222), "3": (307, 0),
               "4": (225, -110), "5": (139, 170), "6": (204, 0)}

HIT_SOUND = ["synth", "0.32", "sine", "1318.5", "sine", "1975.5", "remix", "1,2",
             "fade", "q", "0.005", "0.32", "0.26"]
MISS_SOUND = ["synth", "0.35", "sawtooth", "110", "sawtooth", "116", "remix", "1,2",
              "lowpass", "900", "fade", "q", "0.01", "0.35", "0.08"]


def recipe(spelling):
    """(espeak-ng voice, text, extra sox effects) for one spelling."""
    body, tone = spelling[:-1], spelling[-1]
    if body in ("ng", "hng"):
        return "yue", "[[%s'ng%s]]" % ("h" if body == "hng" else "", tone), []
    if body in ("m", "hm"):
        cents, bend = NASAL_TONES[tone]
        effects = ["tempo", "-s", "0.45"] if body == "m" else []
        effects += ["pitch", str(cents)]
        if bend:
            effects += ["bend", "0.08,%d,0.15" % bend]
        return "yue", "[[%s]]" % ("mm" if body == "m" else "hmm"), effects
    return "yue-Latn-jyutping", spelling, []


def _run_pipeline(espeak_args, sox_args):
    speak = subprocess.Popen(espeak_args, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    sox = subprocess.run(sox_args, stdin=speak.stdout, capture_output=True)
    speak.stdout.close()
    speak_err = speak.stderr.read()
    speak.stderr.close()
    if speak.wait() != 0 or sox.returncode != 0:
        raise RuntimeError("%s: %s%s" % (" ".join(sox_args[-1:]), speak_err.decode(errors="replace"),
                                         sox.stderr.decode(errors="replace")))


def _sox_out(path):
    # -D: no dither, so the same input always gives the same bytes.
    return ["-D", "-r", str(RATE), "-b", "16", "-c", "1", "-e", "signed-integer", path]


def make_recording(spelling, path):
    voice, text, effects = recipe(spelling)
    tmp = path + ".tmp.wav"
    _run_pipeline(["espeak-ng", "-v", voice, "--stdout", text],
                  ["sox", "-t", "wav", "-"] + _sox_out(tmp) + TRIM + effects + TRIM + LEVEL)
    os.replace(tmp, path)


def make_signal(effects, path):
    tmp = path + ".tmp.wav"
    subprocess.run(["sox", "-n"] + _sox_out(tmp) + effects + LEVEL, check=True, capture_output=True)
    os.replace(tmp, path)


def make_all(spellings, sound_dir, jobs, progress):
    """Makes the recordings that are missing in sound_dir, jobs at a time;
    progress(done, total) is called as they finish. Returns how many were made."""
    todo = [s for s in spellings if not os.path.exists(os.path.join(sound_dir, s + ".wav"))]
    done = 0
    with concurrent.futures.ThreadPoolExecutor(max_workers=jobs) as pool:
        futures = [pool.submit(make_recording, s, os.path.join(sound_dir, s + ".wav")) for s in todo]
        for f in concurrent.futures.as_completed(futures):
            f.result()
            done += 1
            progress(done, len(todo))
    for name, effects in (("ok.wav", HIT_SOUND), ("ng.wav", MISS_SOUND)):
        if not os.path.exists(os.path.join(sound_dir, name)):
            make_signal(effects, os.path.join(sound_dir, name))
    return len(todo)
