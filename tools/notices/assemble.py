"""Assembles the notices file installed beside the program (LICENSE.txt): our MIT licence,
the credit of the recordings and the video, the dictionary's sources, and the notices of
everything the linker put into Lorvane.exe and SkinH.dll.

    assemble.py OUT --sqlite sqlite3.c --map Lorvane.exe=Lorvane.map --map SkinH.dll=SkinH.map

Third-party texts are read from the installed packages' copyright files at every build, so
a changed package changes the notice. What the binaries contain is read from the linker's
maps: an archive from a package this script has no notice for fails the build, and so does
a missing source file or a stanza no longer where it was; each message names what is
missing. The output is rewritten only when it changes.
"""
import argparse
import functools
import os
import re
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))
# Where the packages are installed; another root lets the tests take a file away.
ROOT = os.environ.get("LORVANE_NOTICES_SYSROOT", "").rstrip("/")

MIT = os.path.join(REPO, "LICENSE")
CREDITS = os.path.join(REPO, "tools", "data", "credits.txt")
CC_BY_SA = os.path.join(REPO, "third_party", "jyutnet-syllables", "LICENSE")
DOC = ROOT + "/usr/share/doc"
RIME = DOC + "/rime-data-jyut6ping3/copyright"
UNICODE = DOC + "/unicode-data/copyright"
OPENCC = DOC + "/libopencc-data/copyright"
APACHE = ROOT + "/usr/share/common-licenses/Apache-2.0"

# The dictionary's sources (tools/data/sources.py reads them), with the link of each licence
# their copyright files may name.
LICENCE_LINKS = {
    "CC-BY-4.0": ("CC BY 4.0", "https://creativecommons.org/licenses/by/4.0/"),
}

# The compiler's runtime: which stanzas of its package's copyright file each linked archive
# brings in. Patterns are prefixes of the stanzas' Files: lines ("*" is the whole package).
GCC_PACKAGES = {"gcc-mingw-w64-x86-64-posix", "g++-mingw-w64-x86-64-posix",
                "gcc-mingw-w64-x86-64-win32", "g++-mingw-w64-x86-64-win32"}
MINGW_PACKAGE = "mingw-w64-x86-64-dev"
MINGW_STANZAS = [
    # (archive file name, stanzas it brings; a stanza listed once is printed once)
    (re.compile(r"lib(win)?pthread\.a$"), ["mingw-w64-libraries/winpthreads/"]),
    (re.compile(r"libgmon\.a$"), ["mingw-w64-crt/profile/"]),
    (re.compile(r".*"), ["*", "mingw-w64-crt/crt/", "mingw-w64-crt/gdtoa/", "mingw-w64-crt/math/",
                         "mingw-w64-crt/misc/", "mingw-w64-crt/stdio/"]),
]
# Stanzas under a selected folder that are not in any library.
MINGW_NOT_LINKED = ("mingw-w64-libraries/winpthreads/tests_pthread/",)
STL_HEADER = "include/c++/bits/stl_tree.h"


class Missing(Exception):
    pass


def read(path):
    try:
        with open(path, encoding="utf-8-sig") as f:
            return f.read()
    except FileNotFoundError:
        raise Missing(f"{path} is missing (install its package: tools/install-packages.sh)")


def between(path, first, last):
    """The lines from the one starting with `first` to the one containing `last`, whole."""
    lines = read(path).splitlines()
    start = next((i for i, l in enumerate(lines) if l.strip().startswith(first)), None)
    if start is None:
        raise Missing(f"{path}: no line starting with {first!r}")
    end = next((i for i in range(start, len(lines)) if last in lines[i]), None)
    if end is None:
        raise Missing(f"{path}: nothing ends with {last!r} after {first!r}")
    return "\n".join(l.rstrip() for l in lines[start:end + 1])


# Debian's machine-readable copyright files: paragraphs of fields; a field's further lines
# start with a space and " ." stands for an empty line.
@functools.lru_cache(maxsize=None)
def paragraphs(path):
    out = []
    for block in re.split(r"\n[ \t]*\n", read(path)):
        fields, key = {}, None
        for line in block.splitlines():
            if line[:1] in (" ", "\t") and key:
                fields[key].append(line)
            elif ":" in line:
                key, value = line.split(":", 1)
                fields[key] = [value.strip()] if value.strip() else []
        if fields:
            out.append((block.strip("\n"), fields))
    return tuple(out)


def unfold(lines):
    """A field's text as it reads: one space of indentation off, " ." as an empty line."""
    return "\n".join("" if l.strip() == "." else l[1:] if l.startswith(" ") else l.strip()
                     for l in lines)


def stanza(path, files):
    """The paragraph whose Files: field's first line is `files`."""
    for block, fields in paragraphs(path):
        if fields.get("Files", [""])[0] == files:
            return block, fields
    raise Missing(f"{path}: no 'Files: {files}' paragraph")


def licence_text(path, name):
    """The body of a stand-alone License: paragraph."""
    for _, fields in paragraphs(path):
        if "Files" not in fields and fields.get("License", [""])[0] == name and len(fields["License"]) > 1:
            return unfold(fields["License"][1:])
    raise Missing(f"{path}: no text for licence {name!r}")


def as_read(fields, path):
    """A copyright paragraph with its licence text unfolded, and the licence's own paragraph
    appended when the paragraph only names it. The words are the file's."""
    head = ["Files: " + "\n       ".join(l.strip() for l in fields["Files"])]
    if "Copyright" in fields:
        head.append("Copyright: " + "\n           ".join(l.strip() for l in fields["Copyright"]))
    name = fields["License"][0]
    head.append(f"License: {name}")
    body = (unfold(fields["License"][1:]) if len(fields["License"]) > 1 else
            "\n\n".join(licence_text(path, n) for n in re.split(r"\s+(?:and|or)\s+", name)))
    return "\n".join(head) + "\n\n" + body


# What the linker put into each binary: the archives it took members from, and the objects
# it loaded whole. The build gives the linker its own files by relative paths.
def linked_files(map_path):
    text = read(map_path)
    files = set(re.findall(r"^(\S+?\.a)\(", text, re.M))
    files |= set(re.findall(r"^LOAD (\S+\.o(?:bj)?)$", text, re.M))
    return files


def packages_of(paths):
    """{path: Debian package} for the files the packages installed; others are not in it."""
    if not paths:
        return {}
    run = subprocess.run(["dpkg-query", "-S"] + sorted(paths), capture_output=True, text=True)
    owners = {}
    for line in run.stdout.splitlines():
        pkg, path = line.split(": ", 1)
        owners[path] = pkg.split(":")[0].split(", ")[0]
    return owners


def runtime_parts(maps, build_dir):
    """The linked pieces, grouped: {"gcc": {...}, "mingw": {archive names}, "sqlite": bool}."""
    parts = {"gcc": set(), "mingw": set(), "sqlite": False}
    for binary, map_path in maps:
        files = {os.path.realpath(f) if f.startswith("/") else f for f in linked_files(map_path)}
        ours = {f for f in files if not f.startswith("/") or f.startswith(build_dir + os.sep)}
        parts["sqlite"] |= any(os.path.basename(f) == "libsqlite3.a" for f in ours)
        owners = packages_of(files - ours)
        for f in sorted(files - ours):
            pkg = owners.get(f)
            if pkg in GCC_PACKAGES:
                parts["gcc"].add(f)
            elif pkg == MINGW_PACKAGE:
                parts["mingw"].add(os.path.basename(f))
            else:
                raise Missing(f"{binary} links {f} (package {pkg or 'none'}), which the notices "
                              f"do not cover: add its notice to {os.path.relpath(__file__, REPO)}")
    return parts


def heading(zh, en):
    rule = "=" * 56  # fits the installer's page without wrapping
    return f"{rule}\n{zh}\n{en}\n{rule}"


def our_part():
    return "\n\n".join([
        heading("一、本程序的代码：MIT 许可", "1. The program's code: the MIT licence"),
        "本程序（Lorvane.exe、SkinH.dll 及其源代码）按下面的 MIT 许可发布：任何人都可以自由使用、"
        "复制、修改和转发，只需保留版权声明和本许可声明。\n"
        "The program (Lorvane.exe, SkinH.dll and their source code) is distributed under the MIT "
        "licence below: anyone may use, copy, change and pass it on, keeping the copyright notice "
        "and this permission notice.",
        read(MIT).strip()])


def recordings_part():
    return "\n\n".join([
        heading("二、音节录音与学习视频：CC BY-SA 4.0",
                "2. The syllable recordings and the study video: CC BY-SA 4.0"),
        read(CREDITS).strip(),
        "以下为该许可第 5 节（不担保与责任限制）原文。\n"
        "Section 5 of the licence (disclaimer of warranties and limitation of liability) as "
        "it reads:",
        between(CC_BY_SA, "Section 5 -- Disclaimer", "waiver of all liability.")])


def dictionary_part():
    _, rime = stanza(RIME, "*")
    rime_licence = rime["License"][0]
    if rime_licence not in LICENCE_LINKS:
        raise Missing(f"{RIME}: Rime's tables are now under {rime_licence!r}; "
                      f"give its link and credit in {os.path.relpath(__file__, REPO)}")
    short, link = LICENCE_LINKS[rime_licence]
    contributors = "\n".join("  " + l.strip() for l in rime["Copyright"])
    _, opencc = stanza(OPENCC, "*")
    return "\n\n".join([
        heading("三、词典（C:\\Windows\\System32\\abc.mp3）的来源",
                "3. The dictionary (C:\\Windows\\System32\\abc.mp3) and its sources"),
        "词典中的粤拼读音由构建程序从以下三份公开资料中挑选、排序并合并而成。我们对资料的修改："
        "只取汉字及其粤拼读音（以及 Rime 语料中的词频，用于排序）；按我们的常见多音字表与实际用法"
        "为每个字的读音排序；简体字取其繁体字（OpenCC）的读音；合并为一个 SQLite 数据表。\n"
        "The dictionary's Jyutping readings are selected, ranked and merged by the build from "
        "the three open sources below. What we changed: we took only the characters and their "
        "Jyutping readings (and the frequencies of words in Rime's corpus, to rank them); we "
        "ranked each character's readings by our table of well-known characters with several "
        "readings and by usage; simplified forms take the readings of their traditional forms "
        "(OpenCC); all is merged into one SQLite table.",
        "3.1 Rime 粤语拼音方案 rime-cantonese（jyut6ping3 字表、词表与语料）\n"
        "    Rime's Cantonese tables (jyut6ping3 characters, words and essay)\n\n"
        f"Source: https://github.com/rime/rime-cantonese (Debian package rime-data-jyut6ping3)\n"
        f"Copyright:\n{contributors}\n"
        f"License: {short} (Creative Commons Attribution 4.0 International), {link}\n"
        "Changes: selected, ranked and merged into the dictionary, as described above.\n"
        "The material is offered as-is, without warranties of any kind (Section 5 of the "
        "licence).\n本资料按原样提供，不附任何担保（见该许可第 5 节）。",
        "3.2 Unicode 汉字数据库 Unihan（粤语读音 kCantonese）与 UnicodeData.txt\n"
        "    Unicode's Unihan database (kCantonese readings) and UnicodeData.txt\n\n"
        "Changes: the kCantonese readings were selected, ranked and merged into the dictionary.\n"
        "变更：kCantonese 读音经挑选、排序后合并入词典。\n\n" + between(UNICODE, "EXHIBIT 1", "respective owners."),
        "3.3 OpenCC 简繁转换表（STCharacters、TWVariantsRev、HKVariantsRev）\n"
        "    OpenCC's conversion tables\n\n"
        "Source: https://github.com/BYVoid/OpenCC (Debian package libopencc-data)\n"
        "Changes: used to find the traditional form of each character; merged into the "
        "dictionary.\n变更：用于查找每个字的繁体形式，合并入词典。\n\n"
        + as_read(opencc, OPENCC) + "\n\n" + read(APACHE).strip()])


def runtime_part(parts, sqlite_c):
    sections = [heading("四、程序中包含的其他软件", "4. Other software in the program's files"),
                "Lorvane.exe 与 SkinH.dll 静态链接了以下运行库；其声明照录如下。\n"
                "Lorvane.exe and SkinH.dll are linked statically with the following runtime "
                "libraries; their notices follow as their copyright files give them."]
    n = 1
    if parts["sqlite"]:
        blessing = between(sqlite_c, "** The author disclaims copyright", "May you share freely")
        version = re.search(r"SQLite\s+\*\*\s+version (\S+)\.", read(sqlite_c)[:2000])
        sections.append(f"4.{n} SQLite {version.group(1) if version else ''} (https://sqlite.org/), "
                        "in the public domain; its source says:\n\n"
                        + re.sub(r"(?m)^\*\* ?", "", blessing))
        n += 1
    if parts["mingw"]:
        path = f"{DOC}/{MINGW_PACKAGE}/copyright"
        wanted = []
        for archive in sorted(parts["mingw"]):
            wanted += next(prefixes for pattern, prefixes in MINGW_STANZAS if pattern.search(archive))
        blocks = []
        for prefix in wanted:
            found = [as_read(f, path) for _, f in paragraphs(path) if "Files" in f
                     and (f["Files"][0] == prefix if prefix == "*" else f["Files"][0].startswith(prefix))
                     and not f["Files"][0].startswith(MINGW_NOT_LINKED)]
            if not found:
                raise Missing(f"{path}: no 'Files: {prefix}' paragraph")
            blocks += found
        blocks = list(dict.fromkeys(blocks))  # each once, in the order first wanted
        sections.append(f"4.{n} MinGW-w64 runtime (CRT, winpthreads)\n\nSource: "
                        + _field(path, "Source") + "\n\n" + "\n\n".join(blocks))
        n += 1
    if parts["gcc"]:
        path = f"{DOC}/gcc-mingw-w64-base/copyright"
        text = (between(path, "GCC is Copyright (C)", "- libvtv") + "\n\n"
                + between(path, "GCC RUNTIME LIBRARY EXCEPTION", "requirements of the license of GCC."))
        # The headers compiled into our code come with the libraries, in the same folder.
        header = os.path.join(os.path.dirname(min(parts["gcc"])), STL_HEADER)
        stl = (between(header, "* Copyright (c) 1996,1997", "without express or implied warranty.")
               + "\n\n" + between(header, "* Copyright (c) 1994", "without express or implied warranty."))
        stl = "\n".join(re.sub(r"^ ?\* ?", "", l) for l in stl.splitlines())
        sections.append(f"4.{n} GCC runtime libraries (libgcc, libstdc++)\n\n{text}\n\n"
                        "libstdc++'s Standard Template Library headers carry these notices:\n\n" + stl)
    return "\n\n".join(sections)


def _field(path, name):
    for _, fields in paragraphs(path):
        if name in fields:
            return fields[name][0]
    raise Missing(f"{path}: no {name}: field")


def assemble(sqlite_c, maps, build_dir):
    head = ("粤语拼音学习（Lorvane）：许可与声明\nLorvane: licences and notices\n\n"
            "本文件列出本程序各部分的许可、署名与声明。\n"
            "This file gives the licence, credit and notices of every part of the program.")
    parts = runtime_parts(maps, build_dir)
    return "\n\n\n".join([head, our_part(), recordings_part(), dictionary_part(),
                          runtime_part(parts, sqlite_c)]) + "\n"


def main(argv):
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("out")
    ap.add_argument("--sqlite", required=True, help="the SQLite amalgamation compiled in")
    ap.add_argument("--map", action="append", required=True, metavar="BINARY=MAP",
                    help="a linked binary and its linker map")
    ap.add_argument("--build-dir", required=True, help="the build folder: its archives are ours")
    args = ap.parse_args(argv[1:])
    maps = [tuple(m.split("=", 1)) for m in args.map]
    try:
        text = assemble(args.sqlite, maps, os.path.realpath(args.build_dir))
    except Missing as e:
        print(f"notices: {e}", file=sys.stderr)
        return 1
    # UTF-8 with a byte-order mark and Windows line ends, for Notepad and the installer's page.
    data = ("\ufeff" + "\r\n".join(text.splitlines()) + "\r\n").encode("utf-8")
    try:
        with open(args.out, "rb") as f:
            if f.read() == data:
                return 0
    except OSError:
        pass
    os.makedirs(os.path.dirname(os.path.abspath(args.out)), exist_ok=True)
    with open(args.out + ".tmp", "wb") as f:
        f.write(data)
    os.replace(args.out + ".tmp", args.out)
    print(f"notices: {args.out} ({len(data)} bytes)")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
