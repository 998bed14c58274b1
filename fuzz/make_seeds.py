#!/usr/bin/env python3
"""Writes the starting corpora of the fuzz targets into the given folder.

dictionary/: small SQLite files of every shape the program may meet at its
dictionary path (the real table, an empty one, odd types, a missing table, a
view, other encodings and page sizes, WAL mode); text/: practice texts in each
encoding an editor may save; connection/: the program's connection string and
a few odd ones. Nothing here is committed: the corpora live in the work folder.
"""
import os
import sqlite3
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


def main():
    root = sys.argv[1]
    for name, fill in (("dictionary", dictionaries), ("text", texts), ("connection", connections)):
        folder = os.path.join(root, name)
        os.makedirs(folder, exist_ok=True)
        fill(folder)


if __name__ == "__main__":
    main()
