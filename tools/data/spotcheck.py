"""Agreement of the dictionary's first rows with our list of well-known
characters (spotcheck.tsv)."""
import os

from dictionary import read_tsv

SPOTCHECK = os.path.join(os.path.dirname(os.path.abspath(__file__)), "spotcheck.tsv")


def spot_check(dictionary, path=SPOTCHECK, baseline=None):
    """{"all": (agree, total), "several": (agree, total), "misses": [(ch, want, got)],
    "baseline": agree}; "several" counts the characters that have more than one
    reading, "baseline" how many a plain {char: reading} table would get right."""
    agree = total = poly_agree = poly_total = base_agree = 0
    misses = []
    for ch, want in read_tsv(path):
        got = dictionary.first(ch)
        ok = got == want
        total += 1
        agree += ok
        if len(dictionary.readings.get(ch, [])) > 1:
            poly_total += 1
            poly_agree += ok
        if not ok:
            misses.append((ch, want, got))
        base_agree += bool(baseline) and baseline.get(ch) == want
    return {"all": (agree, total), "several": (poly_agree, poly_total), "misses": misses,
            "baseline": base_agree}
