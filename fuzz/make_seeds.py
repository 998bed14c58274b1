#!/usr/bin/env python3
"""Writes the starting corpora of the fuzz targets into the given folder.

dictionary/: small SQLite files of every shape the program may meet at its
dictionary path (the real table, an empty one, odd types, a missing table, a
view, other encodings and page sizes, WAL mode); text/: practice texts in each
encoding an editor may save; connection/: the program's connection string and
a few odd ones; wav/: recordings in every sample format and header shape the
player meets, the odd ones its tests make, and a few of the program's own
recordings from the sound folder given as the second argument (when built).
Nothing here is committed: the corpora live in the work folder.
"""
import math
import os
import shutil
import sqlite3
import struct
import sys

ROWS = [("你", "nei5"), ("好", "hou2"), ("好", "hou3"), ("们", "mun4"), ("学", "hok6"), ("习", "zaap6")]


def make_db(path, statements, page_size=512, encoding=None, journal=None):
    if os.path.exists(path):
        os.remove(path)
    con = sqlite3.connect(path)
    con.execute(f"PRAGMA page_size={page_size}")
    if encoding:
        con.execute(f"PRAGMA encoding='{encoding}'")
    if journal:
        con.execute(f"PRAGMA journal_mode={journal}")
    for sql, *args in statements:
        if args:
            con.executemany(sql, args[0])
        else:
            con.execute(sql)
    con.commit()
    con.close()
    for suffix in ("-wal", "-shm", "-journal"):
        if os.path.exists(path + suffix):
            os.remove(path + suffix)


def dictionaries(out):
    create = "CREATE TABLE cantonesePhonetic (id INTEGER PRIMARY KEY, character TEXT, phonetic TEXT)"
    insert = "INSERT INTO cantonesePhonetic (character, phonetic) VALUES (?, ?)"
    many = [(chr(0x4E00 + i), f"syl{i % 97}{1 + i % 6}") for i in range(1500)]
    shapes = {
        "dict": [(create,), (insert, ROWS)],
        "dict-large": [(create,), (insert, many)],
        "empty-table": [(create,)],
        "odd-values": [
            ("CREATE TABLE cantonesePhonetic (id, character, phonetic)",),
            ("INSERT INTO cantonesePhonetic VALUES (?, ?, ?)",
             [(1, None, None), (2, 42, 3.5), (3, b"\x00\xff", b""), (4, "你", 7),
              (5, "x" * 3000, "y" * 3000), (2**40, "好", None), (-1, "", "")]),
        ],
        "one-column": [("CREATE TABLE cantonesePhonetic (character TEXT)",), (
            "INSERT INTO cantonesePhonetic VALUES (?)", [("你",), ("好",)])],
        "two-columns": [("CREATE TABLE cantonesePhonetic (id, character)",), (
            "INSERT INTO cantonesePhonetic VALUES (?, ?)", [(1, "你")])],
        "no-table": [("CREATE TABLE other (a, b, c)",)],
        "view": [("CREATE TABLE t (a, b, c)",), ("INSERT INTO t VALUES (?, ?, ?)", [(1, "你", "nei5")]),
                 ("CREATE VIEW cantonesePhonetic AS SELECT * FROM t",)],
        "without-rowid": [
            ("CREATE TABLE cantonesePhonetic (id INTEGER PRIMARY KEY, character TEXT, phonetic TEXT) "
             "WITHOUT ROWID",), ("INSERT INTO cantonesePhonetic VALUES (?, ?, ?)",
                                 [(i, c, p) for i, (c, p) in enumerate(ROWS)])],
        "indexed": [(create,), (insert, ROWS), ("CREATE INDEX ix ON cantonesePhonetic(character)",)],
    }
    for name, statements in shapes.items():
        make_db(os.path.join(out, name + ".db"), statements)
    make_db(os.path.join(out, "utf16le.db"), [(create,), (insert, ROWS)], encoding="UTF-16le")
    make_db(os.path.join(out, "utf16be.db"), [(create,), (insert, ROWS)], encoding="UTF-16be")
    make_db(os.path.join(out, "page-4096.db"), [(create,), (insert, ROWS)], page_size=4096)
    make_db(os.path.join(out, "wal.db"), [(create,), (insert, ROWS)], journal="wal")
    with open(os.path.join(out, "header-only.db"), "wb") as f:
        f.write(b"SQLite format 3\x00")
    with open(os.path.join(out, "not-a-db.db"), "wb") as f:
        f.write(b"ID3\x03\x00" + bytes(range(256)))


def texts(out):
    text = "你好，世界\r\n粤语 ABC \U00020000\n第三行\t\x01\x7f"
    samples = {
        "utf16le.txt": b"\xff\xfe" + text.encode("utf-16-le"),
        "utf16be.txt": b"\xfe\xff" + text.encode("utf-16-be"),
        "utf8bom.txt": b"\xef\xbb\xbf" + text.encode("utf-8"),
        "utf8.txt": text.encode("utf-8"),
        "gbk.txt": "你好，世界\r\n粤语".encode("gbk"),
        "odd-utf16.txt": b"\xff\xfe\x60\x4f\x7d",
        "broken-utf8.txt": b"\xe4\xbd\xa0\xe5\xa5\xc0\xaf\xed\xa0\x80\xf4\x90\x80\x80\xf0\x9f\x98",
        "empty.txt": b"",
    }
    for name, data in samples.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)


def connections(out):
    samples = [
        "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\WINDOWS\\system32\\abc.mp3;Persist Security Info=False",
        " data source = \"C:\\a;b.mp3\" ; provider='x''y'",
        "Data Source=;;;=;Data Source=second",
        "Data Source='unclosed",
    ]
    for i, s in enumerate(samples):
        units = s.encode("utf-16-le")
        for mode in (0, 1):
            with open(os.path.join(out, f"c{i}-{mode}"), "wb") as f:
                f.write(bytes([mode]) + units)


def chunk(cid, body):
    return cid + struct.pack("<I", len(body)) + body + (b"\0" if len(body) % 2 else b"")


def riff(chunks):
    return b"RIFF" + struct.pack("<I", len(chunks) + 4) + b"WAVE" + chunks


def fmt(tag, channels, rate, bits, block=None, sub=None, extra=b""):
    block = block if block is not None else max(1, channels * bits // 8)
    body = struct.pack("<HHIIHH", 0xFFFE if sub is not None else tag, channels, rate, rate * block, block, bits)
    if sub is not None:
        guid_tail = b"\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71"
        body += struct.pack("<HHIH", 22, bits, 4, sub) + guid_tail
    return body + extra


def tone(n, bits, is_float=False):
    values = [math.sin(2 * math.pi * 440 * i / 8000) * 0.4 for i in range(n)]
    if is_float:
        return b"".join(struct.pack("<f" if bits == 32 else "<d", v) for v in values)
    if bits == 8:
        return bytes(128 + round(v * 127) for v in values)
    if bits == 24:
        return b"".join(struct.pack("<i", round(v * 8388607))[:3] for v in values)
    return b"".join(struct.pack("<h" if bits == 16 else "<i", round(v * (2 ** (bits - 1) - 1))) for v in values)


def wavs(out, sound_dir):
    pcm16 = fmt(1, 1, 8000, 16)
    data = chunk(b"data", tone(400, 16))
    samples = {
        # Each sample format the player scales, plain and in an extensible header.
        "pcm8.wav": riff(chunk(b"fmt ", fmt(1, 1, 8000, 8)) + chunk(b"data", tone(400, 8))),
        "pcm16.wav": riff(chunk(b"fmt ", pcm16) + data),
        "pcm16-stereo.wav": riff(chunk(b"fmt ", fmt(1, 2, 8000, 16)) + chunk(b"data", tone(400, 16))),
        "pcm24.wav": riff(chunk(b"fmt ", fmt(1, 1, 8000, 24)) + chunk(b"data", tone(300, 24))),
        "pcm32.wav": riff(chunk(b"fmt ", fmt(1, 1, 8000, 32)) + chunk(b"data", tone(200, 32))),
        "float32.wav": riff(chunk(b"fmt ", fmt(3, 1, 8000, 32, extra=b"\0\0")) + chunk(b"data", tone(200, 32, True))),
        "float64.wav": riff(chunk(b"fmt ", fmt(3, 1, 8000, 64)) + chunk(b"data", tone(100, 64, True))),
        "ext-pcm16.wav": riff(chunk(b"fmt ", fmt(0, 1, 8000, 16, sub=1)) + data),
        "ext-float32.wav": riff(chunk(b"fmt ", fmt(0, 1, 8000, 32, sub=3)) + chunk(b"data", tone(200, 32, True))),
        # Compressed formats, left to DirectShow.
        "adpcm.wav": riff(chunk(b"fmt ", fmt(2, 1, 8000, 4, block=256, extra=b"\x20\x00" + bytes(32)))
                          + chunk(b"data", bytes(range(256)))),
        "gsm.wav": riff(chunk(b"fmt ", fmt(0x31, 1, 8000, 0, block=65, extra=b"\x02\x00\x40\x01"))
                        + chunk(b"fact", struct.pack("<I", 320)) + chunk(b"data", bytes(130))),
        "ext-mp3.wav": riff(chunk(b"fmt ", fmt(0, 1, 8000, 16, sub=0x55)) + data),
        # Header shapes: chunks before the data, odd sizes and their padding, sizes
        # that lie, streaming writers' sizes, data before the format, no data.
        "list-odd.wav": riff(chunk(b"fmt ", fmt(1, 2, 1000, 16)) + chunk(b"LIST", b"abc") + chunk(b"data", bytes(400))),
        "declared-long.wav": riff(chunk(b"fmt ", pcm16)) + b"data" + struct.pack("<I", 16000) + bytes(803),
        "streamed-0.wav": riff(chunk(b"fmt ", pcm16)) + b"data" + struct.pack("<I", 0) + bytes(803),
        "streamed-ff.wav": riff(chunk(b"fmt ", pcm16)) + b"data" + struct.pack("<I", 0xFFFFFFFF) + bytes(803),
        "head-only.wav": riff(chunk(b"fmt ", pcm16)) + b"data" + struct.pack("<I", 160000),
        "data-first.wav": riff(chunk(b"data", bytes(100)) + chunk(b"fmt ", pcm16)),
        "no-data.wav": riff(chunk(b"fmt ", pcm16)),
        "short-fmt.wav": riff(chunk(b"fmt ", b"\x01\x00\x01\x00") + chunk(b"data", bytes(100))),
        "zero-rate.wav": riff(chunk(b"fmt ", pcm16[:8] + bytes(4) + pcm16[12:]) + chunk(b"data", bytes(100))),
        "zero-block.wav": riff(chunk(b"fmt ", fmt(1, 1, 8000, 16, block=0)) + chunk(b"data", bytes(100))),
        "fmt-past-end.wav": riff(b"fmt " + struct.pack("<I", 1000) + pcm16),
        "odd-block.wav": riff(chunk(b"fmt ", fmt(1, 1, 8000, 16, block=3)) + chunk(b"data", tone(101, 16))),
        "not-wave.wav": b"RIFF" + struct.pack("<I", 4) + b"AVI ",
    }
    for name, blob in samples.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(blob)
    # A few of the program's own recordings: the answer sounds and a few syllables.
    real = ["ok.wav", "ng.wav", "nei5.wav", "hou2.wav", "dak1.wav"]
    if sound_dir and all(os.path.isfile(os.path.join(sound_dir, n)) for n in real):
        for name in real:
            shutil.copy(os.path.join(sound_dir, name), os.path.join(out, "real-" + name))
    else:
        print(f"make_seeds: no recordings in {sound_dir!r}: build the data for real ones", file=sys.stderr)


def main():
    root = sys.argv[1]
    sound_dir = sys.argv[2] if len(sys.argv) > 2 else None
    for name, fill in (("dictionary", dictionaries), ("text", texts), ("connection", connections)):
        folder = os.path.join(root, name)
        os.makedirs(folder, exist_ok=True)
        fill(folder)
    folder = os.path.join(root, "wav")
    os.makedirs(folder, exist_ok=True)
    wavs(folder, sound_dir)


if __name__ == "__main__":
    main()
