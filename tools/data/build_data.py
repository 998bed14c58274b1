#!/usr/bin/env python3
"""Builds the program's data into OUTDIR:
  abc.mp3       the dictionary (SQLite, table cantonesePhonetic)
  sound/*.wav   one recording per spelling, plus ok.wav and ng.wav
  sound/CREDITS.txt   whose recordings they are and their licence
  xunlian.txt   the default practice text (UTF-8 with a byte-order mark)

Does nothing when neither the source packages, the recorded syllables nor these
tools changed; makes only the recordings of syllables with a recording missing or whose
source changed (all the tones of such a syllable, which are shaped together).
Usage: build_data.py OUTDIR
"""
import hashlib
import json
import os
import sqlite3
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, HERE)

import lengths  # noqa: E402
import sources  # noqa: E402

DB_NAME = "abc.mp3"
SOUND_DIR = "sound"
TEXT_NAME = "xunlian.txt"
TEXT_SOURCE = os.path.join(HERE, "practice.tsv")
SIGNALS = ("ok.wav", "ng.wav")
DICTIONARY_STAMP = ".dictionary.stamp"
RECIPE_STAMP = ".recipe.stamp"
MADE_FROM = ".made-from.json"   # each recording's source file and how it was made
LENGTHS = ".lengths.json"       # each recording's length trimmed and what was cut off its end
CREDITS_NAME = "CREDITS.txt"
CREDITS_SOURCE = os.path.join(HERE, "credits.txt")


def log(msg):
    print(msg, flush=True)


def _digest(paths, extra=b""):
    """Hashes the files' contents and their names, our own named from the repository's
    root, so that a second checkout counts as up to date."""
    h = hashlib.sha256(extra)
    for p in paths:
        p = os.path.abspath(p)
        h.update((os.path.relpath(p, ROOT) if p.startswith(ROOT + os.sep) else p).encode() + b"\0")
        with open(p, "rb") as f:
            for block in iter(lambda: f.read(1 << 20), b""):
                h.update(block)
    return h.hexdigest()


def _tool_versions():
    out = b""
    for cmd in (["ffmpeg", "-version"], ["sox", "--version"], ["praat", "--version"]):
        try:
            out += subprocess.run(cmd, capture_output=True).stdout
        except FileNotFoundError:
            out += b"missing " + cmd[0].encode()
    return out


def stamps():
    """(dictionary stamp, recordings stamp): hashes of everything each depends on."""
    code = sorted(os.path.join(HERE, n) for n in os.listdir(HERE)
                  if n.endswith((".py", ".tsv", ".txt", ".sh")))
    db = _digest(sources.input_files() + code, sqlite3.sqlite_version.encode())
    import numpy
    import tones
    sound = _digest([os.path.join(HERE, n) for n in ("recordings.py", "lengthen.praat", "stand-ins.tsv", "tones.py")]
                    + tones.FILES, _tool_versions() + numpy.__version__.encode())
    return db, sound


def _read_stamp(path):
    try:
        with open(path) as f:
            return f.read().strip()
    except OSError:
        return None


def _write(path, data):
    tmp = path + ".tmp"
    with open(tmp, "wb") as f:
        f.write(data)
    os.replace(tmp, path)


def db_spellings(db_path):
    con = sqlite3.connect(f"file:{db_path}?mode=ro", uri=True)
    try:
        return sorted(r[0] for r in con.execute("SELECT DISTINCT Phonetic FROM cantonesePhonetic"))
    finally:
        con.close()


def build_dictionary(out):
    import dictionary
    import spotcheck
    t = time.time()
    log("[data 2/4] dictionary: reading Unihan, Rime jyut6ping3 and OpenCC")
    d = dictionary.Dictionary(dictionary.load_ranker())
    rows = sum(len(r) for r in d.readings.values())
    log(f"[data 2/4] {len(d.order)} characters, {rows} rows, {len(d.spellings())} spellings")
    how = d.how
    log("[data 2/4] first reading taken from: Unihan kCantonese %d, Rime chars table %d, "
        "traditional or standard form (OpenCC) %d" % (how["unihan"], how["rime"], how["borrowed"]))
    log("[data 2/4] decided by a rule: corpus usage over Unihan %d, our table of "
        "well-known readings %d" % (how["usage"], how["preferred"]))
    for name, (size, missing) in dictionary.coverage(d).items():
        log(f"[data 2/4] {name}: {size - len(missing)} of {size} characters have a reading; "
            f"the sources leave {len(missing)} without one{': ' + ''.join(missing) if missing else ''}")
    check = spotcheck.spot_check(d, baseline=d.unihan_first)
    (a, n), (pa, pn) = check["all"], check["several"]
    log(f"[data 2/4] spot-check of well-known characters: {a}/{n} agree ({100.0 * a / n:.1f} %); "
        f"with several readings {pa}/{pn} ({100.0 * pa / max(pn, 1):.1f} %); "
        f"Unihan's reading alone: {check['baseline']}/{n}")
    for ch, want, got in check["misses"]:
        log(f"[data 2/4]   {ch}: expected {want}, first row {got}")
    db_path = os.path.join(out, DB_NAME)
    dictionary.write_sqlite(d, db_path)
    log(f"[data 2/4] wrote {db_path} ({os.path.getsize(db_path)} bytes) in {time.time() - t:.1f} s")


def recording_plan(spellings):
    """{spelling: [source, its checksum, length factor]} after checking every source file;
    logs the spellings the recorded set lacks and what stands in for each."""
    import recordings
    checksums = recordings.read_checksums()
    stand_ins = recordings.read_stand_ins()
    plan = recordings.plan(spellings, checksums, stand_ins)
    made_up = sorted(s for s in plan if plan[s][0] != s)
    log(f"[data 4/4] recordings: {len(plan) - len(made_up)} spellings are the speaker's own; "
        f"made up, since the recorded set lacks them: {' '.join(made_up) or 'none'}")
    for s in made_up:
        source, factor, why = stand_ins[s]
        how = "" if factor == 1.0 else f", said in {factor:.0%} of its time"
        log(f"[data 4/4]   {s}: the speaker's {source}{how} ({why})")
    return plan, recordings.check_sources(plan, checksums), checksums


def _read_json(path):
    try:
        with open(path) as f:
            return json.load(f)
    except (OSError, ValueError):
        return {}


def build_recordings(out, spellings, recipe, planned):
    """Makes the missing recordings and those whose source changed; all of them when
    the recipe changed."""
    import recordings
    plan, made_from, checksums = planned
    t = time.time()
    sound = os.path.join(out, SOUND_DIR)
    os.makedirs(sound, exist_ok=True)
    recipe_file = os.path.join(sound, RECIPE_STAMP)
    made_from_file = os.path.join(sound, MADE_FROM)
    recipe_changed = _read_stamp(recipe_file) != recipe
    before = {} if recipe_changed else _read_json(made_from_file)
    wanted = {s + ".wav" for s in spellings} | set(SIGNALS)
    for name in sorted(os.listdir(sound)):
        stale = name[:-4] in made_from and before.get(name[:-4]) != made_from[name[:-4]]
        if name.endswith(".wav") and (recipe_changed or name not in wanted or stale):
            os.remove(os.path.join(sound, name))
    # The stamps are written once every recording is there: a failed build starts again.
    for path in (recipe_file, made_from_file):
        if os.path.exists(path):
            os.remove(path)
    todo = len(recordings.to_make(spellings, sound))
    log(f"[data 4/4] {todo} recordings to make (decoded with ffmpeg, shortened with Praat)")

    def progress(done, total):
        if done % 500 == 0 or done == total:
            log(f"[data 4/4]   {done}/{total} recordings made")

    lengths_file = os.path.join(sound, LENGTHS)
    made = {} if recipe_changed else _read_json(lengths_file)
    remade, tone_report = recordings.make_all(plan, checksums, sound, os.cpu_count() or 2, progress)
    made.update(remade)
    missing = [s for s in spellings if not os.path.exists(os.path.join(sound, s + ".wav"))]
    if missing:
        raise RuntimeError("no recording for: " + " ".join(missing))
    made = {s: made[s] for s in spellings if s in made}
    _write(lengths_file, json.dumps(made, sort_keys=True).encode())
    for line in lengths.report(sound, made) + tone_report:
        log(f"[data 4/4] {line}")
    _write(made_from_file, json.dumps(made_from, sort_keys=True).encode())
    _write(recipe_file, recipe.encode())
    log(f"[data 4/4] {len(spellings)} recordings in {sound}, in {time.time() - t:.1f} s")


def write_credits(sound):
    """Puts the recordings' credit beside them (UTF-8 with a byte-order mark and Windows line
    ends, for Notepad and the installer's page), unless it is there already."""
    with open(CREDITS_SOURCE, encoding="utf-8") as f:
        data = ("\ufeff" + "\r\n".join(f.read().splitlines()) + "\r\n").encode("utf-8")
    path = os.path.join(sound, CREDITS_NAME)
    try:
        with open(path, "rb") as f:
            if f.read() == data:
                return
    except OSError:
        pass
    os.makedirs(sound, exist_ok=True)
    _write(path, data)


def build_text(out):
    """Writes the practice text's characters once every line is read as the game will
    take it and the text exercises every initial, final and tone of the first readings."""
    import practice
    data, report = practice.build(TEXT_SOURCE, os.path.join(out, DB_NAME))
    _write(os.path.join(out, TEXT_NAME), data)
    for line in report:
        log(f"[data 3/4] {line}")


def main(argv):
    if len(argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    out = os.path.abspath(argv[1])
    start = time.time()
    log("[data 1/4] checking the source packages")
    try:
        sources.check_sources()
    except sources.MissingSource as e:
        print(f"build_data: {e}", file=sys.stderr)
        return 1
    os.makedirs(out, exist_ok=True)
    db_stamp, sound_stamp = stamps()
    db_stamp_file = os.path.join(out, DICTIONARY_STAMP)
    db_path = os.path.join(out, DB_NAME)

    db_fresh = os.path.exists(db_path) and _read_stamp(db_stamp_file) == db_stamp \
        and os.path.exists(os.path.join(out, TEXT_NAME))
    try:
        if not db_fresh:
            build_dictionary(out)
            build_text(out)
            _write(db_stamp_file, db_stamp.encode())
        spellings = db_spellings(db_path)
        planned = recording_plan(spellings)
        sound = os.path.join(out, SOUND_DIR)
        recipe_changed = _read_stamp(os.path.join(sound, RECIPE_STAMP)) != sound_stamp
        write_credits(sound)
        complete = all(os.path.exists(os.path.join(sound, n))
                       for n in [s + ".wav" for s in spellings] + list(SIGNALS))
        same_sources = _read_json(os.path.join(sound, MADE_FROM)) == planned[1]
        if db_fresh and not recipe_changed and complete and same_sources:
            log(f"[data] up to date in {out} ({len(spellings)} recordings), {time.time() - start:.1f} s")
            return 0
        build_recordings(out, spellings, sound_stamp, planned)
    except (OSError, EOFError, ValueError, RuntimeError, subprocess.CalledProcessError) as e:
        print(f"build_data: {type(e).__name__}: {e}", file=sys.stderr)
        return 1
    log(f"[data] done in {time.time() - start:.1f} s")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
