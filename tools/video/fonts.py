"""The slides' font: Noto Sans CJK SC, as a single-face OpenType file ImageMagick can use.

The Noto CJK fonts ship as collections (.ttc) whose first face is the Japanese one, and
ImageMagick always renders a collection's first face: Simplified Chinese text would come
out with Japanese glyph shapes. So the Simplified Chinese face is copied out of the
collection into a file of its own.
"""
import os
import struct
import subprocess

FAMILY = "Noto Sans CJK SC"


def locate(weight):
    """(collection path, face index) of the family's face of `weight` ("regular"/"bold")."""
    pattern = FAMILY + (":weight=bold" if weight == "bold" else ":weight=regular")
    out = subprocess.run(["fc-match", "-f", "%{file}|%{index}|%{family}", pattern],
                         check=True, capture_output=True, text=True).stdout
    path, index, families = out.split("|", 2)
    if FAMILY not in families.split(","):
        raise SystemExit(f"make-video: font '{FAMILY}' is not installed (package fonts-noto-cjk)")
    return path, int(index)


def extract_face(collection, index, dest):
    """Writes face `index` of an OpenType collection to `dest` as a plain OpenType file."""
    with open(collection, "rb") as f:
        data = f.read()
    if data[:4] != b"ttcf":
        raise SystemExit(f"make-video: {collection} is not a font collection")
    count, = struct.unpack_from(">I", data, 8)
    if index >= count:
        raise SystemExit(f"make-video: {collection} has no face {index}")
    start, = struct.unpack_from(">I", data, 12 + 4 * index)
    version, ntables = struct.unpack_from(">IH", data, start)
    records = sorted(struct.unpack_from(">4sIII", data, start + 12 + 16 * i) for i in range(ntables))
    pow2 = 1 << (ntables.bit_length() - 1)
    header = struct.pack(">IHHHH", version, ntables, pow2 * 16, pow2.bit_length() - 1,
                         ntables * 16 - pow2 * 16)
    directory, body = [], []
    offset = len(header) + 16 * ntables
    for tag, checksum, table_offset, length in records:
        directory.append(struct.pack(">4sIII", tag, checksum, offset, length))
        padded = data[table_offset:table_offset + length] + b"\0" * (-length % 4)
        body.append(padded)
        offset += len(padded)
    tmp = dest + ".tmp"
    with open(tmp, "wb") as f:
        f.write(header + b"".join(directory) + b"".join(body))
    os.replace(tmp, dest)


def identity(weight):
    """What the face's file depends on, for the cache key."""
    path, index = locate(weight)
    st = os.stat(path)
    return f"{path}:{index}:{st.st_size}:{int(st.st_mtime)}"


def face_file(weight, workdir):
    """Path of the single-face file for `weight`, extracted into `workdir` when missing."""
    path, index = locate(weight)
    dest = os.path.join(workdir, f"NotoSansCJKsc-{weight}.otf")
    if not os.path.exists(dest):
        extract_face(path, index, dest)
    return dest


def cmap_chars(font_path):
    """The set of code points the font maps to a glyph (cmap formats 4 and 12)."""
    with open(font_path, "rb") as f:
        data = f.read()
    ntables, = struct.unpack_from(">H", data, 4)
    tables = {struct.unpack_from(">4s", data, 12 + 16 * i)[0]:
              struct.unpack_from(">I", data, 12 + 16 * i + 8)[0] for i in range(ntables)}
    cmap = tables[b"cmap"]
    nsub, = struct.unpack_from(">H", data, cmap + 2)
    chars = set()
    for i in range(nsub):
        _platform, _encoding, sub = struct.unpack_from(">HHI", data, cmap + 4 + 8 * i)
        sub += cmap
        fmt, = struct.unpack_from(">H", data, sub)
        if fmt == 12:
            ngroups, = struct.unpack_from(">I", data, sub + 12)
            for g in range(ngroups):
                first, last, _glyph = struct.unpack_from(">III", data, sub + 16 + 12 * g)
                chars.update(range(first, last + 1))
        elif fmt == 4:
            segs = struct.unpack_from(">H", data, sub + 6)[0] // 2
            ends = struct.unpack_from(f">{segs}H", data, sub + 14)
            starts = struct.unpack_from(f">{segs}H", data, sub + 16 + 2 * segs)
            for first, last in zip(starts, ends):
                if first != 0xFFFF:
                    chars.update(range(first, last + 1))
    return chars
