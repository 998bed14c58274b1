"""Checks of the built study video.

usage: check_video.py CHECK VIDEO WORKDIR
CHECK is one of the functions named in CHECKS; WORKDIR is the video tool's work folder (its
timeline, pictures and fonts). Exits 0 when the check holds, 1 with the reasons when not.
"""
import ctypes
import json
import os
import re
import subprocess
import sys

sys.dont_write_bytecode = True
TOOL = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools", "video")
sys.path.insert(0, TOOL)
import build    # noqa: E402
import fonts    # noqa: E402
import slides   # noqa: E402

MAX_BYTES = 15_000_000
DURATION = (120, 240)     # seconds
RIME = "/usr/share/rime-data/jyut6ping3.chars.dict.yaml"


class Failed(Exception):
    pass


def expect(condition, message):
    if not condition:
        raise Failed(message)


def ffprobe(video, *args):
    out = subprocess.run(["ffprobe", "-v", "error", *args, "-of", "json", video],
                         check=True, capture_output=True, text=True).stdout
    return json.loads(out)


def timeline(workdir):
    path = os.path.join(workdir, "timeline.json")
    expect(os.path.exists(path), f"{path} is missing: build the target 'video' first")
    with open(path, encoding="utf-8") as f:
        return json.load(f)


def table():
    with open(os.path.join(TOOL, "slides.json"), encoding="utf-8") as f:
        return json.load(f)


def check_format(video, workdir):
    """An ASF file with WMV2 video and WMA v2 sound, 4:3, of a few minutes, not too big."""
    info = ffprobe(video, "-show_format", "-show_streams")
    expect(info["format"]["format_name"] == "asf", f"container is {info['format']['format_name']}")
    codecs = sorted((s["codec_type"], s["codec_name"]) for s in info["streams"])
    expect(codecs == [("audio", "wmav2"), ("video", "wmv2")], f"streams are {codecs}")
    v = next(s for s in info["streams"] if s["codec_type"] == "video")
    expect(v["width"] * 3 == v["height"] * 4, f"picture is {v['width']}x{v['height']}, not 4:3")
    num, den = map(int, v["avg_frame_rate"].split("/"))
    expect(15 <= num / den <= 25, f"frame rate {num / den}")
    duration = float(info["format"]["duration"])
    expect(DURATION[0] <= duration <= DURATION[1], f"duration {duration:.1f} s")
    size = os.path.getsize(video)
    expect(size < MAX_BYTES, f"{size} bytes")
    steps = timeline(workdir)["steps"]
    expect(abs(steps[-1]["end"] - duration) < 0.2,
           f"video lasts {duration:.2f} s, its timeline {steps[-1]['end']:.2f} s")
    print(f"asf, wmv2 {v['width']}x{v['height']} {num / den:g} fps + wmav2, "
          f"{duration:.1f} s, {size / 1e6:.1f} MB")


def check_keyframes(video, workdir):
    """A keyframe at least every second, so that a position bar seeks precisely."""
    packets = ffprobe(video, "-select_streams", "v", "-show_entries", "packet=pts_time,flags")
    times = [float(p["pts_time"]) for p in packets["packets"]]
    keys = [float(p["pts_time"]) for p in packets["packets"] if "K" in p["flags"]]
    expect(keys and keys[0] == times[0], "the first frame is not a keyframe")
    frame = 1 / timeline(workdir)["fps"]
    gaps = [b - a for a, b in zip(keys, keys[1:] + [times[-1] + frame])]
    expect(max(gaps) <= 1.0 + frame / 2, f"keyframes up to {max(gaps):.2f} s apart")
    print(f"{len(keys)} keyframes in {len(times)} frames, at most {max(gaps):.2f} s apart")


def _gst():
    gst = ctypes.CDLL("libgstreamer-1.0.so.0")
    p = ctypes.c_void_p
    for name, res, args in [
            ("gst_parse_launch", p, [ctypes.c_char_p, p]),
            ("gst_bin_get_by_name", p, [p, ctypes.c_char_p]),
            ("gst_element_get_bus", p, [p]),
            ("gst_bus_timed_pop_filtered", p, [p, ctypes.c_uint64, ctypes.c_int]),
            ("gst_element_set_state", ctypes.c_int, [p, ctypes.c_int]),
            ("gst_element_query_position", ctypes.c_int, [p, ctypes.c_int, p]),
            ("gst_element_get_static_pad", p, [p, ctypes.c_char_p]),
            ("gst_pad_get_current_caps", p, [p]),
            ("gst_caps_to_string", ctypes.c_char_p, [p]),
            ("gst_message_parse_error", None, [p, p, p])]:
        getattr(gst, name).restype = res
        getattr(gst, name).argtypes = args
    gst.gst_init(None, None)
    return gst


def check_gstreamer(video, workdir):
    """GStreamer (what Wine's DirectShow plays .wmv through) decodes both streams to the end."""
    gst = _gst()
    err = ctypes.c_void_p()
    pipeline = gst.gst_parse_launch(
        f'filesrc location="{video}" ! decodebin name=d '
        'd. ! queue ! fakesink name=a sync=false d. ! queue ! fakesink name=b sync=false'.encode(),
        ctypes.byref(err))
    expect(pipeline and not err.value, "cannot build the GStreamer pipeline")
    PLAYING, NULL, EOS, ERROR, TIME = 4, 1, 1, 2, 3
    gst.gst_element_set_state(pipeline, PLAYING)
    msg = gst.gst_bus_timed_pop_filtered(gst.gst_element_get_bus(pipeline), 120 * 10**9, EOS | ERROR)
    expect(msg, "no end of stream within 120 s")
    if ctypes.c_int.from_address(msg + 64).value == ERROR:   # GstMessage.type after the mini object
        gerror = ctypes.c_void_p()
        gst.gst_message_parse_error(msg, ctypes.byref(gerror), None)
        text = ctypes.c_char_p.from_address(gerror.value + 8).value   # GError.message
        raise Failed(f"GStreamer error: {text.decode(errors='replace')}")
    length = timeline(workdir)["steps"][-1]["end"]
    decoded = []
    for name in (b"a", b"b"):
        sink = gst.gst_bin_get_by_name(pipeline, name)
        caps = gst.gst_pad_get_current_caps(gst.gst_element_get_static_pad(sink, b"sink"))
        expect(caps, "a stream was never decoded")
        kind = gst.gst_caps_to_string(caps).decode().split(",")[0]
        position = ctypes.c_int64()
        gst.gst_element_query_position(sink, TIME, ctypes.byref(position))
        expect(position.value / 1e9 > length - 0.5,
               f"{kind} decoded up to {position.value / 1e9:.1f} s of {length:.1f} s")
        decoded.append(f"{kind} to {position.value / 1e9:.1f} s")
    gst.gst_element_set_state(pipeline, NULL)
    expect(sorted(d.split()[0] for d in decoded) == ["audio/x-raw", "video/x-raw"],
           f"decoded {decoded}")
    print("decoded " + ", ".join(decoded))


def _gray_frames(command, size):
    raw = subprocess.run(command, check=True, capture_output=True).stdout
    return [raw[i:i + size] for i in range(0, len(raw), size)]


def _distance(a, b):
    return sum(abs(x - y) for x, y in zip(a, b)) / len(a)


def check_sync(video, workdir):
    """Each step's picture is on screen while its narration plays, and the narration is heard."""
    tl = timeline(workdir)
    steps, fps = tl["steps"], tl["fps"]
    w, h = 160, 120
    shrink = f"scale={w}:{h},format=gray"
    picks = [int((s["start"] + s["end"]) / 2 * fps) for s in steps]
    select = "+".join(f"eq(n\\,{n})" for n in picks)
    shown = _gray_frames(["ffmpeg", "-v", "error", "-i", video, "-vf", f"select={select},{shrink}",
                          "-fps_mode", "passthrough", "-f", "rawvideo", "-"], w * h)
    expect(len(shown) == len(steps), f"{len(shown)} frames picked for {len(steps)} steps")
    pictures = sorted({s["picture"] for s in steps})
    listing = os.path.join(workdir, "check-pictures.ffconcat")
    with open(listing, "w") as f:
        f.write("ffconcat version 1.0\n" + "".join(f"file {build.concat_quote(p)}\nduration 1\n" for p in pictures))
    drawn = dict(zip(pictures, _gray_frames(
        ["ffmpeg", "-v", "error", "-f", "concat", "-safe", "0", "-i", listing, "-vf", shrink,
         "-fps_mode", "passthrough", "-f", "rawvideo", "-"], w * h)))
    wrong = []
    for n, (step, frame) in enumerate(zip(steps, shown)):
        nearest = min(pictures, key=lambda p: _distance(frame, drawn[p]))
        if nearest != step["picture"]:
            wrong.append(f"step {n} (slide {step['slide'] + 1}, item {step['item']}) "
                         f"at {step['start']:.2f}-{step['end']:.2f} s")
    expect(not wrong, "wrong picture on screen: " + "; ".join(wrong))

    rate = 8000
    pcm = subprocess.run(["ffmpeg", "-v", "error", "-i", video, "-vn", "-ac", "1", "-ar", str(rate),
                          "-f", "s16le", "-"], check=True, capture_output=True).stdout
    samples = memoryview(pcm).cast("h")

    def rms(a, b):
        part = samples[int(a * rate):int(b * rate)]
        return (sum(x * x for x in part) / max(1, len(part))) ** 0.5

    quiet, loud = [], []
    for step in steps:
        spoken = step["speech"]
        for a, b in spoken:
            loud.append((rms(a + (b - a) * 0.2, b - (b - a) * 0.2), a))
        gaps = zip([step["start"]] + [b for _, b in spoken], [a for a, _ in spoken] + [step["end"]])
        quiet += [(rms(a + 0.1, b - 0.1), a) for a, b in gaps if b - a > 0.5]
    silent_speech = [f"{t:.2f} s" for level, t in loud if level < 300]
    noisy_pause = [f"{t:.2f} s" for level, t in quiet if level > 100]
    expect(not silent_speech, "no narration heard where the timeline has speech: "
           + ", ".join(silent_speech))
    expect(not noisy_pause, "sound in the timeline's pauses at " + ", ".join(noisy_pause))
    print(f"{len(steps)} steps on time; {len(loud)} spoken pieces heard, {len(quiet)} pauses quiet")


def check_glyphs(video, workdir):
    """Every character on the slides is drawn by the slides' font as its own glyph: no two
    characters come out alike (a font lacking them draws the same box for all) and none empty."""
    chars = sorted({c for s in table()["slides"] for t in slides.shown_texts(s)
                    for c in t if not c.isspace()})
    cell = 48
    for weight in ("regular", "bold"):
        font = os.path.join(workdir, "fonts", f"NotoSansCJKsc-{weight}.otf")
        labels = [f"label:{'%%' if c == '%' else c}" for c in chars]
        tiles = _gray_frames(["convert", "-background", "white", "-fill", "black", "-font", font,
                              "-pointsize", "40", "-size", f"{cell}x{cell}", "-gravity", "center",
                              *labels, "+append", "-depth", "8", "gray:-"], cell * cell * len(chars))
        strip = tiles[0]
        stride = cell * len(chars)
        glyphs = [bytes(strip[r * stride + i * cell + x] for r in range(cell) for x in range(cell))
                  for i in range(len(chars))]
        empty = [c for c, g in zip(chars, glyphs) if min(g) > 128]
        expect(not empty, f"{weight}: nothing drawn for {''.join(empty)}")
        seen = {}
        for c, g in zip(chars, glyphs):
            # half- and full-width forms of a punctuation mark may look alike; characters may not
            if re.match(r"[\u3400-\u9fff]", c):
                expect(g not in seen, f"{weight}: {c} is drawn like {seen.get(g)}")
                seen[g] = c
    print(f"{len(chars)} characters, {len(seen)} of them Chinese, each with a glyph of its own")


def _readings():
    table_of = {}
    with open(RIME, encoding="utf-8") as f:
        for line in f:
            fields = line.rstrip("\n").split("\t")
            if len(fields) >= 2 and len(fields[0]) == 1:
                table_of.setdefault(fields[0], set()).add(fields[1])
    return table_of


def _sentences(entries):
    return [e for e in entries if isinstance(e, dict)]


def taught_pairs(tbl):
    """(characters, Jyutping) pairs the slides teach: items, 'X jyut6' written in texts, and
    the sentences the narration reads."""
    pairs = []
    pattern = re.compile(r"([\u3400-\u9fff]+) ((?:[a-z]+[1-6])(?: [a-z]+[1-6])*)")
    for s in tbl["slides"]:
        pairs += [(i["char"], i["jp"]) for i in s.get("items", [])]
        for text in slides.shown_texts(s):
            pairs += [(m.group(1)[-len(m.group(2).split()):], m.group(2))
                      for m in pattern.finditer(text)]
        if s["kind"] == "title" and re.fullmatch(r"([a-z]+[1-6] ?)+", s["subtitle"]):
            pairs.append((re.sub(r"[^\u3400-\u9fff]", "", s["title"]), s["subtitle"]))
        narrations = [s.get("say", []), s.get("after", [])]
        narrations += [i.get("say", []) for i in s.get("items", [])]
        pairs += [("".join(slides.narrate.HAN.findall(e["zh"])), e["jp"])
                  for entries in narrations for e in _sentences(entries)]
    return pairs


def check_readings(video, workdir):
    """Each taught reading is a standard Jyutping reading of its character (rime-data-jyut6ping3,
    which lists traditional characters, so simplified ones are converted with OpenCC)."""
    readings = _readings()
    pairs = taught_pairs(table())
    chars = "\n".join(c for c, _ in pairs)
    traditional = subprocess.run(["opencc", "-c", "s2t.json"], input=chars, check=True,
                                 capture_output=True, text=True).stdout.split("\n")
    wrong = []
    for (simplified, jp), trad in zip(pairs, traditional):
        syllables = jp.split()
        if len(syllables) != len(trad):
            wrong.append(f"{simplified} {jp}: {len(trad)} characters, {len(syllables)} syllables")
            continue
        for s, t, syllable in zip(simplified, trad, syllables):
            if syllable not in readings.get(t, set()) and syllable not in readings.get(s, set()):
                wrong.append(f"{s} {syllable} (known: {' '.join(sorted(readings.get(t, [])))})")
    expect(not wrong, "not standard readings: " + "; ".join(wrong))
    print(f"{len(pairs)} taught readings, all standard Jyutping")


def _load_faulty(tbl, glyphs):
    """slides.load's report on a table, or None when it accepts it."""
    import tempfile
    with tempfile.NamedTemporaryFile("w", suffix=".json", encoding="utf-8") as f:
        json.dump(tbl, f, ensure_ascii=False)
        f.flush()
        try:
            slides.load(f.name, glyphs)
        except SystemExit as e:
            return str(e)
    return None


def check_table(video, workdir):
    """The slide table is checked before anything is made: a faulty one stops the build with
    every fault named, the real one passes."""
    glyphs = fonts.cmap_chars(os.path.join(workdir, "fonts", "NotoSansCJKsc-regular.otf"))
    slides.load(os.path.join(TOOL, "slides.json"), glyphs)
    faulty = {"item_say": ["{$jp}"], "metadata": {"copyright": "c"}, "slides": [
        {"kind": "grid", "title": "声母", "cols": 2, "say": ["{nei5 hou2"], "items": [
            {"mark": "b", "char": "爸", "jp": "baa"},
            {"mark": "p", "char": "怕怕", "jp": "paa3"},
            {"mark": "x", "char": "\U0002A6A5", "jp": "ngaa4"},
            {"char": "妈", "jp": "maa1"}]},
        {"kind": "tones", "title": "声调", "cols": 1, "items": [
            {"mark": "1", "char": "诗", "jp": "si1", "label": "高平", "contour": "56"}]},
        {"kind": "slideshow", "title": "?"}]}
    expected = ["'{nei5 hou2' has no Jyutping line", "baa is not Jyutping",
                "怕怕 has 2 characters",
                "no glyph for '\U0002A6A5'", "item 4: missing mark", "contour '56'",
                "unknown kind 'slideshow'", "metadata: no 'comment' text"]
    message = _load_faulty(faulty, glyphs)
    expect(message, "a faulty table was accepted")
    missed = [fault for fault in expected if fault not in message]
    expect(not missed, f"faults not reported: {missed}; the report was:\n{message}")
    print(f"{len(expected)} faults reported, the real table accepted")


def check_narration(video, workdir):
    """Each sentence of the narration pairs off with its Jyutping line: a sentence without
    one, or with a line of another length, stops the build naming its slide; so does a
    syllable the data folder has no recording of. The real table passes both checks."""
    glyphs = fonts.cmap_chars(os.path.join(workdir, "fonts", "NotoSansCJKsc-regular.otf"))
    sound = os.path.join(os.path.dirname(video), "sound")
    real = slides.load(os.path.join(TOOL, "slides.json"), glyphs)
    slides.check_recordings(slides.steps(real), sound)

    def title(name, say, after=()):
        return {"kind": "title", "title": name, "subtitle": "-", "footer": "-", "say": say,
                "after": list(after)}
    faulty = {"item_say": ["{$jp}"], "metadata": real["metadata"], "slides": [
        title("甲", [{"zh": "你好。", "jp": "nei5 hou2"}, "请跟我读。"]),
        title("乙", [0.5, {"zh": "声调", "jp": "sing1"}]),
        title("丙", [], [{"zh": "一九九三年"}]),
        title("丁", [{"zh": "1993年", "jp": "jat1 gau2 gau2 saam1 nin4"}])]}
    report = _load_faulty(faulty, glyphs)
    expect(report, "a faulty table was accepted")
    expected = ["slide 1 (甲): say: sentence '请跟我读。' has no Jyutping line",
                "slide 2 (乙): say: sentence '声调' has 2 characters but its Jyutping line "
                "'sing1' has 1 syllables",
                "slide 3 (丙): after: sentence '一九九三年' has no Jyutping line",
                "slide 4 (丁): say: sentence '1993年': write 1 3 9 as it is read"]
    missed = [fault for fault in expected if fault not in report]
    expect(not missed, f"faults not reported: {missed}; the report was:\n{report}")

    unrecorded = {"item_say": ["{$jp}"], "metadata": real["metadata"], "slides": [
        title("甲", [{"zh": "你好", "jp": "nei5 hou2"}]),
        title("乙", ["{si1}", 0.4, {"zh": "夸", "jp": "kwoe1"}])]}
    try:
        slides.check_recordings(slides.steps(unrecorded), sound)
        raise Failed("a syllable without a recording was accepted")
    except SystemExit as e:
        report = str(e)
    expect("kwoe1 (slide 2)" in report and "nei5" not in report and "si1" not in report,
           f"the missing recording is not named alone: {report}")
    print(f"{len(expected)} faulty sentences and a syllable without a recording reported; "
          f"the real table accepted")


def check_credit(video, workdir):
    """The file's tags carry the table's credit and licence, and so does its closing slide:
    the video holds the speaker's recordings and is shared under their licence."""
    tbl = table()
    tags = ffprobe(video, "-show_format")["format"].get("tags", {})
    tags = {k.lower(): v for k, v in tags.items()}
    for key in ("copyright", "comment"):
        expect(tags.get(key) == tbl["metadata"][key],
               f"tag {key} is {tags.get(key)!r}, the table says {tbl['metadata'][key]!r}")
    credit = tbl["slides"][-1].get("credit", "")
    for text in [credit] + [tags[k] for k in ("copyright", "comment")]:
        expect("粵音資料集叢" in text and "CC BY-SA 4.0" in text,
               f"{text!r} does not name the recordings' source and licence")
    print(f"tags copyright and comment kept by the container; closing slide: {credit}")


CHECKS = {"format": check_format, "keyframes": check_keyframes, "gstreamer": check_gstreamer,
          "sync": check_sync, "glyphs": check_glyphs, "readings": check_readings,
          "table": check_table, "narration": check_narration, "credit": check_credit}

if __name__ == "__main__":
    if len(sys.argv) != 4 or sys.argv[1] not in CHECKS:
        raise SystemExit(f"usage: check_video.py {{{'|'.join(CHECKS)}}} VIDEO WORKDIR")
    try:
        CHECKS[sys.argv[1]](os.path.abspath(sys.argv[2]), os.path.abspath(sys.argv[3]))
    except Failed as e:
        print(f"FAILED: {e}")
        sys.exit(1)
