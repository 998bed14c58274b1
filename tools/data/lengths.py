"""Figures on the recordings' lengths, printed by the data build: whether the shortening
keeps the speaker's lengths apart (order, spread, the long vowel aa against short a)."""
import collections
import os
import re
import wave

# Spellings that differ only in aa against a: initial, vowel, coda (none, i, u, m, n, ng), tone.
A_SYLLABLE = re.compile(r"^(gw|kw|ng|[bpmfdtnlgkhwzcsj]?)(aa|a)(|i|u|m|n|ng)([1-6])$")


def wav_seconds(path):
    with wave.open(path, "rb") as w:
        return w.getnframes() / w.getframerate()


def aa_pairs(spellings):
    """[(aa spelling, a spelling)] of the spellings that differ only in aa against a."""
    spellings = set(spellings)
    out = []
    for s in sorted(spellings):
        m = A_SYLLABLE.match(s)
        if m and m.group(2) == "aa":
            short = m.group(1) + "a" + m.group(3) + m.group(4)
            if short in spellings:
                out.append((s, short))
    return out


def aa_ratio(seconds):
    """Mean over the aa/a pairs of the aa recording's length over the a one's, and how
    many pairs there are. seconds: {spelling: length}."""
    pairs = aa_pairs(seconds)
    return sum(seconds[a] / seconds[b] for a, b in pairs) / max(1, len(pairs)), len(pairs)


def commonest_share(seconds):
    """(length in 10 ms, share) of the most common length to 10 ms."""
    counts = collections.Counter(round(v * 100) for v in seconds.values())
    length, n = counts.most_common(1)[0]
    return length * 10, n / len(seconds)


def _ranks(values):
    order = sorted(range(len(values)), key=values.__getitem__)
    ranks = [0.0] * len(values)
    i = 0
    while i < len(order):
        j = i
        while j + 1 < len(order) and values[order[j + 1]] == values[order[i]]:
            j += 1
        for k in range(i, j + 1):
            ranks[order[k]] = (i + j) / 2
        i = j + 1
    return ranks


def spearman(xs, ys):
    rx, ry = _ranks(xs), _ranks(ys)
    mx, my = sum(rx) / len(rx), sum(ry) / len(ry)
    cov = sum((a - mx) * (b - my) for a, b in zip(rx, ry))
    return cov / (sum((a - mx) ** 2 for a in rx) * sum((b - my) ** 2 for b in ry)) ** 0.5


def report(sound_dir, made):
    """Lines on the recordings of sound_dir; made: {spelling: [trimmed seconds, seconds cut
    off its end]} of each, from the shaping."""
    installed = {s: wav_seconds(os.path.join(sound_dir, s + ".wav")) for s in made}
    lengths = sorted(installed.values())

    def pct(p):
        return lengths[min(len(lengths) - 1, int(p / 100 * len(lengths)))]

    names = sorted(made)
    trimmed = [made[s][0] for s in names]
    common, share = commonest_share(installed)
    ratio, n_pairs = aa_ratio(installed)
    trimmed_ratio, _ = aa_ratio({s: made[s][0] for s in names})
    shortened = sum(1 for s in names if installed[s] < made[s][0] - 0.005)
    cut = [made[s][1] for s in names if made[s][1] > 0]
    bins = collections.Counter(min(int(v * 10), 7) for v in lengths)
    return [
        "lengths (s): " + ", ".join(f"{p} % {pct(p):.3f}" for p in (5, 25, 50, 75, 95))
        + f", longest {lengths[-1]:.3f}; trimmed, median {sorted(trimmed)[len(trimmed) // 2]:.3f}"
        f" and longest {max(trimmed):.3f}",
        "  by 100 ms: " + " ".join(f"{b / 10:.1f}:{bins[b]}" for b in sorted(bins)),
        f"  {shortened} of {len(names)} shortened; commonest length {common} ms holds "
        f"{100 * share:.1f} %; rank correlation with the trimmed length {spearman(trimmed, [installed[s] for s in names]):.3f}",
        f"  aa against a ({n_pairs} pairs): aa {ratio:.2f} times as long on average "
        f"({trimmed_ratio:.2f} trimmed); {len(cut)} cut at the end to fit (faded out over "
        f"30 ms), the most by {1000 * max(cut, default=0):.0f} ms",
    ]
