"""Reads the Debian packages that the pronunciation data is built from.

Every reader returns plain dicts and lists; nothing here decides which reading
comes first (that is ranking.py's job).
"""
import bz2
import collections
import importlib.util
import os
import subprocess
import tempfile

# Where the packages are installed; another root lets the tests take one away.
ROOT = os.environ.get("LORVANE_DATA_SYSROOT", "").rstrip("/")
UNIHAN_READINGS = ROOT + "/usr/share/unicode/Unihan_Readings.txt.bz2"
UNICODE_DATA = ROOT + "/usr/share/unicode/UnicodeData.txt"
RIME_DIR = ROOT + "/usr/share/rime-data"
RIME_CHARS = RIME_DIR + "/jyut6ping3.chars.dict.yaml"
RIME_WORDS = RIME_DIR + "/jyut6ping3.words.dict.yaml"
RIME_ESSAY = RIME_DIR + "/essay-cantonese.txt"
OPENCC_DIR = ROOT + "/usr/share/opencc"
OPENCC_DICT = "opencc_dict"

# Which package to install for each file we read.
PACKAGE_OF = {
    UNIHAN_READINGS: "unicode-data",
    UNICODE_DATA: "unicode-data",
    RIME_CHARS: "rime-data-jyut6ping3",
    RIME_WORDS: "rime-data-jyut6ping3",
    RIME_ESSAY: "rime-data-jyut6ping3",
}
OPENCC_TABLES = ("STCharacters", "TWVariantsRev", "HKVariantsRev")
for _t in OPENCC_TABLES:
    PACKAGE_OF[f"{OPENCC_DIR}/{_t}.ocd2"] = "libopencc-data"


class MissingSource(Exception):
    """A source file or tool is missing; the message names the package."""


def input_files():
    """Every file whose content decides the output, in a fixed order."""
    return sorted(PACKAGE_OF)


# The programs the build runs, and their packages.
TOOLS = {OPENCC_DICT: "opencc", "ffmpeg": "ffmpeg", "sox": "sox", "praat": "praat"}
# The Python modules it imports beyond the standard library, and their packages.
MODULES = {"numpy": "python3-numpy"}


def check_sources():
    missing = {PACKAGE_OF[p] for p in PACKAGE_OF if not os.path.isfile(p)}
    missing |= {pkg for prog, pkg in TOOLS.items() if not _which(prog)}
    missing |= {pkg for mod, pkg in MODULES.items() if importlib.util.find_spec(mod) is None}
    if missing:
        raise MissingSource(
            "missing source package(s): " + " ".join(sorted(set(missing)))
            + "\n  install with: apt-get install " + " ".join(sorted(set(missing))))


def _which(prog):
    for d in os.environ.get("PATH", "/usr/bin:/bin").split(os.pathsep):
        if os.access(os.path.join(d, prog), os.X_OK):
            return True
    return False


def is_jyutping(s):
    """A lower-case syllable ending in its tone digit 1-6."""
    return (len(s) >= 2 and s[-1] in "123456" and s[:-1].isascii()
            and s[:-1].isalpha() and s[:-1].islower())


def read_unihan_cantonese():
    """{char: [readings]} from Unihan's kCantonese field."""
    out = {}
    with bz2.open(UNIHAN_READINGS, "rt", encoding="utf-8") as f:
        for line in f:
            if "\tkCantonese\t" not in line:
                continue
            code, _, value = line.rstrip("\n").split("\t")
            out[chr(int(code[2:], 16))] = [r for r in value.split() if is_jyutping(r)]
    return out


def read_compat_ideographs():
    """{compatibility ideograph: its canonical unified ideograph}."""
    out = {}
    with open(UNICODE_DATA, encoding="utf-8") as f:
        for line in f:
            p = line.split(";")
            if p[1].startswith("CJK COMPATIBILITY IDEOGRAPH") and p[5] and " " not in p[5]:
                out[chr(int(p[0], 16))] = chr(int(p[5], 16))
    return out


def _rime_rows(path):
    """The tab-separated rows after the YAML header ("...")."""
    with open(path, encoding="utf-8") as f:
        in_body = False
        for line in f:
            line = line.rstrip("\n")
            if not in_body:
                in_body = line == "..."
                continue
            if line and not line.startswith("#"):
                yield line.split("\t")


def read_rime_chars():
    """{char: [(reading, weight)]}; weight is None for a normal reading, else
    the percentage Rime gives a rarer one. File order is kept."""
    out = collections.defaultdict(list)
    for row in _rime_rows(RIME_CHARS):
        if len(row) < 2 or len(row[0]) != 1 or not is_jyutping(row[1]):
            continue
        weight = None
        if len(row) > 2 and row[2].endswith("%"):
            weight = float(row[2][:-1])
        if all(r != row[1] for r, _ in out[row[0]]):
            out[row[0]].append((row[1], weight))
    return dict(out)


def read_essay():
    """{word: frequency} from Rime's Cantonese corpus counts."""
    out = {}
    with open(RIME_ESSAY, encoding="utf-8") as f:
        for line in f:
            p = line.rstrip("\n").split("\t")
            if len(p) == 2 and p[1].isdigit():
                out[p[0]] = int(p[1])
    return out


def read_rime_words():
    """[(word, [syllables])] for the words whose syllables match their characters."""
    out = []
    for row in _rime_rows(RIME_WORDS):
        if len(row) < 2:
            continue
        syl = row[1].split()
        if len(syl) == len(row[0]) and all(is_jyutping(s) for s in syl):
            out.append((row[0], syl))
    return out


def read_opencc(table):
    """{key: [values]} from one OpenCC dictionary, dumped with opencc_dict."""
    src = f"{OPENCC_DIR}/{table}.ocd2"
    with tempfile.TemporaryDirectory() as tmp:
        txt = os.path.join(tmp, table + ".txt")
        subprocess.run([OPENCC_DICT, "-i", src, "-o", txt, "-f", "ocd2", "-t", "text"],
                       check=True, stdout=subprocess.DEVNULL)
        out = {}
        with open(txt, encoding="utf-8") as f:
            for line in f:
                p = line.rstrip("\n").split("\t")
                if len(p) == 2:
                    out[p[0]] = p[1].split()
    return out
