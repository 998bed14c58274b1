"""The two character sets the dictionary must cover: the hanzi of GB 2312
(simplified, 6 763) and of Big5 (traditional, 13 053), taken from Python's codecs."""


def _decode_range(encoding, leads, trails):
    out = []
    for hi in leads:
        for lo in trails:
            try:
                c = bytes((hi, lo)).decode(encoding)
            except UnicodeDecodeError:
                continue
            if len(c) == 1:
                out.append(c)
    return out


def gb2312_hanzi():
    # Rows 16-87 hold the hanzi: lead bytes 0xB0-0xF7, trail bytes 0xA1-0xFE.
    return _decode_range("gb2312", range(0xB0, 0xF8), range(0xA1, 0xFF))


def big5_hanzi():
    # Level 1 is 0xA440-0xC67E, level 2 is 0xC940-0xF9D5; trail bytes
    # 0x40-0x7E and 0xA1-0xFE.
    trails = list(range(0x40, 0x7F)) + list(range(0xA1, 0xFF))
    out = []
    for c in _decode_range("big5", range(0xA4, 0xFA), trails):
        code = c.encode("big5")
        if 0xA440 <= int.from_bytes(code, "big") <= 0xC67E or \
           0xC940 <= int.from_bytes(code, "big") <= 0xF9D5:
            out.append(c)
    return out
