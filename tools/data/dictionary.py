"""Builds the table cantonesePhonetic and writes it as an SQLite file.

Rows come character by character, most frequent characters first so that the
program's linear scan finds them early, and within one character the most
common reading first: the program only ever uses a character's first row.
"""
import collections
import os
import sqlite3

import charsets
import sources
from ranking import Ranker

TABLE = "cantonesePhonetic"
HERE = os.path.dirname(os.path.abspath(__file__))
PREFERRED = os.path.join(HERE, "preferred.tsv")


def read_tsv(path):
    """[(first column, second column)] of a tab-separated file with # comments."""
    out = []
    with open(path, encoding="utf-8") as f:
        for n, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if not line or line.startswith("#"):
                continue
            p = line.split("\t")
            if len(p) < 2 or len(p[0]) != 1 or not sources.is_jyutping(p[1]):
                raise ValueError(f"{path}:{n}: expected a character, a tab and a spelling")
            out.append((p[0], p[1]))
    return out


def load_ranker():
    variants = {}
    for table in ("TWVariantsRev", "HKVariantsRev"):
        for k, v in sources.read_opencc(table).items():
            variants.setdefault(k, [x for x in v if x != k])
    return Ranker(
        unihan=sources.read_unihan_cantonese(),
        compat=sources.read_compat_ideographs(),
        rime_chars=sources.read_rime_chars(),
        rime_words=sources.read_rime_words(),
        essay=sources.read_essay(),
        simp_to_trad=sources.read_opencc("STCharacters"),
        variant_to_std=variants,
        preferred=dict(read_tsv(PREFERRED)),
    )


class Dictionary:
    """The ranked table: chars in row order, and each char's readings."""

    def __init__(self, ranker):
        self.unihan_first = {c: r[0] for c, r in ranker.unihan.items() if r}
        self.readings = {}
        self.how = collections.Counter()
        ranked = []
        required = set(charsets.gb2312_hanzi()) | set(charsets.big5_hanzi())
        for ch in ranker.candidates(required):
            readings, how = ranker.rank(ch)
            if readings:
                self.readings[ch] = readings
                self.how[how] += 1
                ranked.append((-ranker.frequency(ch), ord(ch), ch))
        ranked.sort()
        self.order = [ch for _, _, ch in ranked]

    def rows(self):
        """(id, character, spelling) in the order the program reads them."""
        n = 0
        for ch in self.order:
            for r in self.readings[ch]:
                n += 1
                yield n, ch, r

    def spellings(self):
        return sorted({r for rs in self.readings.values() for r in rs})

    def first(self, ch):
        rs = self.readings.get(ch)
        return rs[0] if rs else None


def write_sqlite(dictionary, path):
    """Writes the table to path through a temporary file, so a failed build
    never leaves a half-made database where a good one was."""
    tmp = path + ".tmp"
    if os.path.exists(tmp):
        os.remove(tmp)
    con = sqlite3.connect(tmp)
    try:
        con.execute("PRAGMA page_size = 4096")
        con.execute("PRAGMA journal_mode = DELETE")
        con.execute(f"CREATE TABLE {TABLE} (id INTEGER PRIMARY KEY, "
                    "Character TEXT NOT NULL, Phonetic TEXT NOT NULL)")
        con.executemany(f"INSERT INTO {TABLE} VALUES (?, ?, ?)", dictionary.rows())
        con.commit()
        con.execute("VACUUM")
    finally:
        con.close()
    os.replace(tmp, path)


def coverage(dictionary):
    """{set name: (size, [characters without a reading])}."""
    out = {}
    for name, chars in (("GB 2312", charsets.gb2312_hanzi()), ("Big5", charsets.big5_hanzi())):
        out[name] = (len(chars), [c for c in chars if c not in dictionary.readings])
    return out
