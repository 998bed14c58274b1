"""Builds the study video yueyupinying.wmv from slides.json.

usage: build.py OUTDIR WORKDIR

Every slide is split into steps: its introduction, one step per item (the item marked on the
slide while its example is read) and its closing words. Each step's picture is shown for
exactly as long as its narration, rounded up to whole frames, so picture and sound stay
together. Spoken pieces and slide pictures are cached in WORKDIR by content; when nothing
that goes into the video changed, the whole run is skipped.
"""
import array
import concurrent.futures
import hashlib
import json
import math
import os
import subprocess
import sys
import time

sys.dont_write_bytecode = True  # keep the source folder clean
import fonts      # noqa: E402
import layout     # noqa: E402
import narrate    # noqa: E402
import slides as slide_table  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
OUTPUT = "yueyupinying.wmv"
FPS = 15
VIDEO = ["-c:v", "wmv2", "-q:v", "4", "-g", str(FPS), "-pix_fmt", "yuv420p"]
AUDIO = ["-c:a", "wmav2", "-b:a", "48k", "-ar", str(narrate.RATE), "-ac", "1"]
MIN_STEP = 1.0            # seconds: no picture flashes by
WORKERS = max(2, os.cpu_count() or 2)


class Progress:
    def __init__(self):
        self.start = self.last = time.monotonic()

    def __call__(self, stage, detail=""):
        now = time.monotonic()
        print(f"video: {stage:<10} {now - self.last:6.2f} s  {detail}", flush=True)
        self.last = now


def _first_line(command):
    try:
        out = subprocess.run(command, capture_output=True, text=True).stdout
    except FileNotFoundError:
        raise SystemExit(f"make-video: {command[0]} is not installed")
    return out.splitlines()[0] if out else ""


def input_key(sound_dir):
    """Digest of everything the video is made from: our sources, the tools, the fonts and
    the recordings it plays."""
    h = hashlib.sha256()
    if not os.path.isdir(sound_dir):
        raise SystemExit(f"make-video: no recordings in {sound_dir}: build the data first")
    for name in sorted(os.listdir(sound_dir)):
        if name.endswith(".wav"):
            with open(os.path.join(sound_dir, name), "rb") as f:
                h.update(name.encode() + b"\0" + hashlib.sha256(f.read()).digest())
    for name in sorted(os.listdir(HERE)):
        if name.endswith((".py", ".json", ".sh")):
            with open(os.path.join(HERE, name), "rb") as f:
                h.update(name.encode() + b"\0" + f.read())
    for command in (["sox", "--version"], ["ffmpeg", "-version"], ["convert", "-version"]):
        h.update(_first_line(command).encode())
    for weight in ("regular", "bold"):
        h.update(fonts.identity(weight).encode())
    h.update(repr((VIDEO, AUDIO, FPS, MIN_STEP)).encode())
    return h.hexdigest()


def run_all(commands):
    """Runs argv lists two or more at a time; stops at the first failure."""
    def one(command):
        result = subprocess.run(command, capture_output=True, text=True)
        if result.returncode:
            raise SystemExit(f"make-video: {command[0]} failed: {result.stderr.strip()[:500]}")
    with concurrent.futures.ThreadPoolExecutor(WORKERS) as pool:
        list(pool.map(one, commands))


def cached_name(*parts):
    return hashlib.sha1(repr(parts).encode()).hexdigest()[:16]


def render_pictures(steps, faces, face_ids, picdir):
    """Draws every step's picture that is not drawn yet; returns the paths in step order."""
    bases, marks, paths = {}, {}, []
    for step in steps:
        slide = step["slide"]
        key = cached_name(layout.base_command(slide, faces, ""), face_ids)
        base = os.path.join(picdir, key + ".png")
        bases[base] = layout.base_command(slide, faces, base)
        if step["item"] is None:
            paths.append(base)
            continue
        box = layout.item_boxes(slide)[step["item"]]
        marked = os.path.join(picdir, cached_name(key, box) + ".png")
        marks[marked] = layout.highlight_command(base, box, marked)
        paths.append(marked)
    run_all([cmd for path, cmd in bases.items() if not os.path.exists(path)])
    run_all([cmd for path, cmd in marks.items() if not os.path.exists(path)])
    return paths, set(bases) | set(marks)


def synthesize_clips(steps, clipdir, sound_dir):
    """Every piece's samples: example syllables are the recordings themselves, phrases are
    read from them (and kept in clipdir)."""
    slide_table.check_recordings(steps, sound_dir)
    pieces = {value for step in steps for what, value in step["parsed"] if what == "speech"}
    reader = narrate.Reader(sound_dir, [s for step in steps
                                        for s in narrate.syllables_of(step["parsed"])])
    paths = {piece: reader.clip_path(clipdir, piece) for piece in pieces}
    missing = [piece for piece in pieces if not os.path.exists(paths[piece])]
    with concurrent.futures.ThreadPoolExecutor(WORKERS) as pool:
        list(pool.map(lambda piece: reader.synthesize(piece, paths[piece]), missing))
    clips = {piece: narrate.read_wav(path) for piece, path in paths.items()}
    return clips, set(paths.values()), len(missing)


def narration_figures(steps, clips):
    """How much is read in sentences, and at what pace (cross-fades included)."""
    syllables = seconds = 0
    for step in steps:
        for what, value in step["parsed"]:
            if what == "speech" and value[0] == "phrase":
                syllables += len(value[1])
                seconds += len(clips[value]) / narrate.RATE
    return (f"sentences: {syllables} syllables in {seconds:.1f} s, "
            f"{seconds / max(1, syllables):.3f} s a syllable")


def concat_quote(path):
    return "'" + path.replace("'", "'\\''") + "'"


def assemble(steps, clips, pictures, workdir):
    """Sound track, picture list for ffmpeg's concat reader and the timeline, step by step."""
    audio = array.array("h")
    frames_list = ["ffconcat version 1.0"]
    timeline = []
    for step, picture in zip(steps, pictures):
        samples, spoken = narrate.render(step["parsed"], clips)
        frames = max(math.ceil(len(samples) / narrate.RATE * FPS), round(MIN_STEP * FPS))
        start = len(audio) / narrate.RATE
        padding = frames * narrate.RATE // FPS - len(samples)
        audio.extend(samples)
        audio.extend(array.array("h", bytes(2 * padding)))
        frames_list += [f"file {concat_quote(picture)}", f"duration {frames / FPS:.6f}"]
        timeline.append({"slide": step["index"], "item": step["item"], "start": start,
                         "end": start + frames / FPS, "picture": picture,
                         "speech": [[start + a, start + b] for a, b in spoken]})
    # the concat reader ignores the last entry's duration unless the file is named again
    frames_list.append(f"file {concat_quote(pictures[-1])}")
    narrate.write_wav(os.path.join(workdir, "narration.wav"), audio)
    with open(os.path.join(workdir, "pictures.ffconcat"), "w") as f:
        f.write("\n".join(frames_list) + "\n")
    with open(os.path.join(workdir, "timeline.json"), "w") as f:
        json.dump({"fps": FPS, "steps": timeline}, f, ensure_ascii=False, indent=1)
    return len(audio) / narrate.RATE


def encode(workdir, dest, metadata):
    tmp = dest + ".part"
    command = ["ffmpeg", "-hide_banner", "-loglevel", "error", "-y",
               "-f", "concat", "-safe", "0", "-i", os.path.join(workdir, "pictures.ffconcat"),
               "-i", os.path.join(workdir, "narration.wav"),
               "-map", "0:v", "-map", "1:a", "-vf", f"fps={FPS}", *VIDEO, *AUDIO,
               "-metadata", "title=粤语拼音入门",
               *[arg for key in ("copyright", "comment")
                 for arg in ("-metadata", f"{key}={metadata[key]}")],
               "-f", "asf", tmp]
    result = subprocess.run(command, capture_output=True, text=True)
    if result.returncode:
        raise SystemExit(f"make-video: ffmpeg failed: {result.stderr.strip()[:800]}")
    os.replace(tmp, dest)


def prune(directory, keep):
    for name in os.listdir(directory):
        path = os.path.join(directory, name)
        if path not in keep:
            os.remove(path)


def main(outdir, workdir):
    progress = Progress()
    os.makedirs(outdir, exist_ok=True)
    os.makedirs(workdir, exist_ok=True)
    dest = os.path.join(outdir, OUTPUT)
    stamp = os.path.join(workdir, "inputs.sha256")
    sound_dir = os.path.join(outdir, "sound")
    key = input_key(sound_dir)
    if os.path.exists(dest) and os.path.exists(stamp) and open(stamp).read() == key:
        os.utime(dest)  # newer than the inputs that were touched but not changed
        progress("up to date", dest)
        return
    if os.path.exists(stamp):
        os.remove(stamp)

    fontdir = os.path.join(workdir, "fonts")
    os.makedirs(fontdir, exist_ok=True)
    faces = {w: fonts.face_file(w, fontdir) for w in ("regular", "bold")}
    face_ids = [fonts.identity(w) for w in ("regular", "bold")]
    progress("fonts", fonts.FAMILY)

    table = slide_table.load(os.path.join(HERE, "slides.json"),
                             fonts.cmap_chars(faces["regular"]) & fonts.cmap_chars(faces["bold"]))
    steps = slide_table.steps(table)
    progress("slides", f"{len(table['slides'])} slides, {len(steps)} steps")

    clipdir = os.path.join(workdir, "speech")
    os.makedirs(clipdir, exist_ok=True)
    clips, clip_files, made = synthesize_clips(steps, clipdir, sound_dir)
    prune(clipdir, clip_files)
    progress("speech", f"{len(clips)} pieces, {made} read now; {narration_figures(steps, clips)}")

    picdir = os.path.join(workdir, "pictures")
    os.makedirs(picdir, exist_ok=True)
    pictures, picture_files = render_pictures(steps, faces, face_ids, picdir)
    prune(picdir, picture_files)
    progress("pictures", f"{len(picture_files)} pictures")

    duration = assemble(steps, clips, pictures, workdir)
    progress("timeline", f"{duration:.1f} s of video")

    encode(workdir, dest, table["metadata"])
    with open(stamp, "w") as f:
        f.write(key)
    size = os.path.getsize(dest)
    progress("encode", f"{dest} ({size / 1e6:.1f} MB)")
    print(f"video: done in {time.monotonic() - progress.start:.1f} s")


if __name__ == "__main__":
    if len(sys.argv) != 3:
        raise SystemExit("usage: build.py OUTDIR WORKDIR")
    try:
        main(os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2]))
    except narrate.NarrationError as e:
        raise SystemExit(f"make-video: {e}")
