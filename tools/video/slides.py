"""The slide table (slides.json): loading, checking, and splitting into timed steps."""
import json
import os
import re

import layout
import narrate

FIELDS = {"title": ("title", "subtitle", "footer"), "text": ("title", "lines"),
          "grid": ("title", "cols", "items"), "tones": ("title", "cols", "items"),
          "list": ("title", "items")}
ITEM_FIELDS = {"grid": ("mark", "char", "jp"), "tones": ("mark", "char", "jp", "label", "contour"),
               "list": ("char", "jp")}
HAN = re.compile(r"[\u3400-\u9fff\uf900-\ufaff\U00020000-\U0003ffff]")


def shown_texts(slide):
    """Every text drawn on the slide."""
    texts = [slide.get(k, "") for k in ("title", "subtitle", "footer", "credit", "note")]
    texts += [line[0] for line in slide.get("lines", [])]
    for item in slide.get("items", []):
        texts += [item.get(k, "") for k in ("mark", "char", "jp", "label", "contour")]
    return texts


def item_narration(table, slide, item):
    if "say" in item:
        return item["say"]
    template = slide.get("item_say", table["item_say"])
    return [e.replace("$jp", item["jp"]).replace("$char", item["char"]) if isinstance(e, str)
            else e for e in template]


def _check_slide(table, slide, glyphs):
    kind = slide.get("kind")
    if kind not in FIELDS:
        return [f"unknown kind {kind!r}"]
    problems = [f"missing '{field}'" for field in FIELDS[kind] if field not in slide]
    if problems:
        return problems
    for text in shown_texts(slide):
        missing = sorted({c for c in text if not c.isspace() and ord(c) not in glyphs})
        if missing:
            problems.append(f"the font has no glyph for {''.join(missing)!r} in {text!r}")
    for line in slide.get("lines", []):
        if len(line) != 2 or line[1] not in layout.TEXT_STYLES:
            problems.append(f"line {line!r} is not [text, one of {sorted(layout.TEXT_STYLES)}]")
    narrations = [("say", slide.get("say", [])), ("after", slide.get("after", []))]
    for n, item in enumerate(slide.get("items", []), 1):
        where = f"item {n}"
        lacking = [f for f in ITEM_FIELDS[kind] if f not in item]
        if lacking:
            problems.append(f"{where}: missing {', '.join(lacking)}")
            continue
        syllables = item["jp"].split()
        bad = [s for s in syllables if not narrate.SYLLABLE.match(s)]
        if bad:
            problems.append(f"{where}: {' '.join(bad)} is not Jyutping with tone digits")
            continue
        elif len(syllables) != len(HAN.findall(item["char"])):
            problems.append(f"{where}: {item['char']} has {len(HAN.findall(item['char']))} "
                            f"characters but {item['jp']!r} has {len(syllables)} syllables")
        if kind == "tones" and not re.fullmatch(r"[1-5]{1,2}", item["contour"]):
            problems.append(f"{where}: contour {item['contour']!r} is not one or two pitch "
                            "levels 1-5")
        narrations.append((where, item_narration(table, slide, item)))
    for where, entries in narrations:
        try:
            narrate.parse(entries)
        except narrate.NarrationError as e:
            problems.append(f"{where}: {e}")
    return problems


def load(path, glyphs):
    """Reads and checks the table; a faulty table stops the build with every fault listed."""
    try:
        with open(path, encoding="utf-8") as f:
            table = json.load(f)
    except (OSError, ValueError) as e:
        raise SystemExit(f"make-video: cannot read {path}: {e}")
    problems = []
    if not table.get("slides"):
        problems.append("no slides")
    metadata = table.get("metadata", {})
    problems += [f"metadata: no '{key}' text" for key in ("copyright", "comment")
                 if not isinstance(metadata.get(key), str) or not metadata[key].strip()]
    for n, slide in enumerate(table.get("slides", []), 1):
        problems += [f"slide {n} ({slide.get('title', '?')}): {p}"
                     for p in _check_slide(table, slide, glyphs)]
    if problems:
        raise SystemExit(f"make-video: {path}:\n  " + "\n  ".join(problems))
    return table


def steps(table):
    """Slides -> steps: the introduction, one per item (that item marked), the closing words."""
    out = []
    for index, slide in enumerate(table["slides"]):
        items = slide.get("items", [])
        if slide.get("say") or not items:
            out.append({"index": index, "slide": slide, "item": None,
                        "parsed": narrate.parse(slide.get("say", []))})
        for n, item in enumerate(items):
            out.append({"index": index, "slide": slide, "item": n,
                        "parsed": narrate.parse(item_narration(table, slide, item))})
        if slide.get("after"):
            out.append({"index": index, "slide": slide, "item": None,
                        "parsed": narrate.parse(slide["after"])})
    return out


def check_recordings(steps, sound_dir):
    """Every syllable the narration plays has a recording in sound_dir; if not, the build
    stops naming each missing one and the slides that need it."""
    needed = {}
    for step in steps:
        for spelling in narrate.syllables_of(step["parsed"]):
            needed.setdefault(spelling, set()).add(step["index"])
    missing = [(s, sorted(slides)) for s, slides in sorted(needed.items())
               if not os.path.exists(narrate.recording_path(sound_dir, s))]
    if missing:
        raise SystemExit(
            f"make-video: no recording in {sound_dir} of\n  " + "\n  ".join(
                f"{s} (slide {', '.join(str(n + 1) for n in slides)})" for s, slides in missing)
            + "\nbuild the data (target 'data') first; every syllable needs a recording")
