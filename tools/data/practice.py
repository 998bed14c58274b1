"""The practice text of the typing game, from practice.tsv: each line's characters with
the Jyutping they have in that line.

The game drops the text's characters one by one and takes, as the right answer, the first
row the dictionary has for the character. So every line is checked against those first
readings: a line whose reading in context differs would mark a right answer wrong.
"""
import collections
import sqlite3

import sources

# Longest first, so that gw, kw and ng are not read as g, k and n.
INITIALS = ("gw", "kw", "ng", "b", "p", "m", "f", "d", "t", "n", "l", "g", "k", "h",
            "w", "z", "c", "s", "j")
NULL_INITIAL = "(none)"


class PracticeError(ValueError):
    """The practice text is wrong; the message names every line at fault."""


def split_syllable(syllable):
    """(initial, final, tone) of a Jyutping syllable; syllabic m and ng are finals
    without an initial (m4, ng5), and so is the ng of hng or the m of hm."""
    base, tone = syllable[:-1], syllable[-1]
    if base not in ("m", "ng"):
        for initial in INITIALS:
            if base.startswith(initial) and len(base) > len(initial):
                return initial, base[len(initial):], tone
    return NULL_INITIAL, base, tone


def read_source(path):
    """[(line number, characters, [syllables])] of the text lines of practice.tsv."""
    out = []
    with open(path, encoding="utf-8-sig") as f:
        for n, line in enumerate(f, 1):
            line = line.rstrip("\r\n")
            if not line.strip() or line.startswith("#"):
                continue
            chars, _, spelling = line.partition("\t")
            out.append((n, chars, spelling.split()))
    return out


def first_readings(db_path):
    """{character: its first row's spelling}, in the order the game reads the rows."""
    con = sqlite3.connect(f"file:{db_path}?mode=ro", uri=True)
    try:
        first = {}
        for ch, spelling in con.execute(
                "SELECT Character, Phonetic FROM cantonesePhonetic ORDER BY id"):
            first.setdefault(ch, spelling)
        return first
    finally:
        con.close()


def check(lines, first):
    """Raises PracticeError naming each line whose Jyutping is not what the game will
    take: a wrong count or spelling, a character without an entry, or a reading in
    context that is not the character's first reading."""
    problems = []
    for n, chars, syllables in lines:
        where = f"line {n} {chars}"
        if len(syllables) != len(chars):
            problems.append(f"{where}: {len(chars)} characters, {len(syllables)} Jyutping syllables")
            continue
        bad = [s for s in syllables if not sources.is_jyutping(s)]
        if bad:
            problems.append(f"{where}: not Jyutping with a tone digit: {' '.join(bad)}")
            continue
        for ch, said in zip(chars, syllables):
            if ch not in first:
                problems.append(f"{where}: {ch} has no dictionary entry, so it would never fall")
            elif first[ch] != said:
                problems.append(f"{where}: {ch} is {said} here, but the dictionary's first "
                                f"reading, which the game asks for, is {first[ch]}")
    if problems:
        raise PracticeError("the practice text does not match the dictionary:\n  "
                            + "\n  ".join(problems))


def coverage(lines, first):
    """{"initials"|"finals"|"tones": (exercised by the text, used by first readings)},
    each a Counter of how many characters have it."""
    def parts(spellings):
        out = {k: collections.Counter() for k in ("initials", "finals", "tones")}
        for s in spellings:
            initial, final, tone = split_syllable(s)
            out["initials"][initial] += 1
            out["finals"][final] += 1
            out["tones"][tone] += 1
        return out
    text = parts(s for _, _, syllables in lines for s in syllables)
    used = parts(first.values())
    return {k: (text[k], used[k]) for k in text}


def build(path, db_path):
    """(the practice text as the game loads it, lines of report): the characters, UTF-8
    with a byte-order mark and Windows line ends. Raises PracticeError when a line is
    wrong or the text leaves out an initial, final or tone that first readings use."""
    lines = read_source(path)
    first = first_readings(db_path)
    try:
        check(lines, first)
    except PracticeError as e:
        raise PracticeError(f"{path}: {e}") from None
    report = [f"practice text: {len(lines)} lines, {sum(len(c) for _, c, _ in lines)} "
              "characters, each read as the dictionary's first reading"]
    missing = []
    for kind, (text, used) in coverage(lines, first).items():
        lacking = sorted(set(used) - set(text))
        report.append(f"practice text exercises {len(used) - len(lacking)} of the {len(used)} "
                      f"{kind} that first readings use: {' '.join(sorted(text))}")
        if lacking:
            missing.append(f"{kind} {' '.join(lacking)}")
    if missing:
        raise PracticeError(f"{path}: the practice text never exercises these, which first "
                            f"readings use: {'; '.join(missing)}")
    data = "\ufeff" + "".join(chars + "\r\n" for _, chars, _ in lines)
    return data.encode("utf-8"), report
