"""Decides which readings a character has and which of them comes first.

The first reading is the one a learner is taught, so it follows, in order:
  1. our table of well-known characters with several readings (preferred.tsv);
  2. real usage, when it overwhelms the reference reading: Rime marks the
     reading as a normal one and the words that use it are at least
     USAGE_RATIO times as frequent in Rime's Cantonese corpus;
  3. Unihan's kCantonese (one curated reading per character);
  4. Rime's character table (normal readings before rare ones, then usage);
the simplified form takes the readings of its traditional forms (OpenCC) and
a variant those of the standard form, so 广 reads like 廣 and 為 like 爲.
"""
import collections

USAGE_RATIO = 3.5
USAGE_MIN = 1000        # corpus occurrences below which usage decides nothing
RARE_PERCENT = 3.0      # Rime weights at or below this mark a rare reading


def _tone_changed(reading, base):
    """True if reading is the colloquial changed tone of base (錢 cin4 -> cin2).
    A dictionary teaches the base tone, so usage must not put these first."""
    if reading[:-1] != base[:-1]:
        return False
    return (reading[-1] == "2" and base[-1] in "3456") or (reading[-1] == "1" and base[-1] == "4")


class Ranker:
    def __init__(self, unihan, compat, rime_chars, rime_words, essay,
                 simp_to_trad, variant_to_std, preferred):
        self.unihan = unihan
        self.compat = compat
        self.rime = rime_chars
        self.st = simp_to_trad
        self.variants = variant_to_std
        self.preferred = preferred
        self.essay = essay
        self.usage = collections.defaultdict(collections.Counter)
        for word, syllables in rime_words:
            freq = essay.get(word, 0)
            if freq:
                for ch, syl in zip(word, syllables):
                    self.usage[ch][syl] += freq

    def forms(self, ch):
        """The other forms whose readings ch may borrow: its traditional forms
        if it is simplified, the standard form if it is a regional variant,
        the unified ideograph if it is a compatibility one."""
        out = []
        for t in self.st.get(ch, []) + self.variants.get(ch, []):
            if t != ch and t not in out:
                out.append(t)
        if ch in self.compat and self.compat[ch] not in out:
            out.append(self.compat[ch])
        return out

    def frequency(self, ch):
        return max(self.essay.get(f, 0) for f in [ch] + self.forms(ch))

    def candidates(self, required=()):
        """Every character that may get a row: one UTF-16 code unit each.
        Compatibility ideographs only where a required set (Big5) has them:
        input methods never type the others."""
        chars = set(self.unihan) | set(self.rime) | set(self.st) | set(self.variants)
        chars = {c for c in chars if c not in self.compat} | set(required)
        return sorted(c for c in chars if len(c) == 1 and ord(c) < 0x10000
                      and not 0xD800 <= ord(c) < 0xE000)

    def _evidence(self, ch):
        """(usage Counter, readings Rime calls normal, Rime readings in order)."""
        forms = self.forms(ch)
        own_usage = self.usage.get(ch, collections.Counter())
        simplified = any(t != ch for t in self.st.get(ch, []))
        usage = collections.Counter(own_usage)
        if simplified or not own_usage:
            for f in forms:
                usage.update(self.usage.get(f, {}))
        normal, readings = set(), []
        # A traditional character that Rime lists speaks for itself; a
        # simplified one also carries the readings of its traditional forms.
        sources = [ch] if (ch in self.rime and not simplified) else [ch] + forms
        for src in sources:
            rows = self.rime.get(src, [])
            if not rows:
                continue
            weights = [w for _, w in rows]
            top = None if None in weights else max(weights)
            for r, w in rows:
                if src != ch and w is not None and w <= RARE_PERCENT and w != top:
                    continue        # a rare reading of another form is not this one's
                if r not in readings:
                    readings.append(r)
                if w == top:
                    normal.add(r)
        return usage, normal, readings

    def rank(self, ch):
        """(readings with the most common first, how the first was decided);
        ([], "none") when no source gives a reading."""
        usage, normal, rime_readings = self._evidence(ch)
        unihan = list(self.unihan.get(ch) or [])
        borrowed = not unihan and ch not in self.rime
        if not unihan:
            for f in self.forms(ch):
                if self.unihan.get(f):
                    unihan = list(self.unihan[f])
                    break
        attested = []
        for r in unihan + rime_readings:
            if r not in attested:
                attested.append(r)
        if not attested:
            return [], "none"

        if ch in self.preferred:
            first, how = self.preferred[ch], "preferred"
            if first not in attested:
                raise ValueError(f"preferred.tsv: no source attests {ch} {first}")
        elif unihan:
            first, how = unihan[0], ("borrowed" if borrowed else "unihan")
            rivals = [r for r in normal if r != first and not _tone_changed(r, first)]
            best = max(rivals, key=lambda r: (usage[r], r), default=None)
            if best and usage[best] >= USAGE_MIN and usage[best] >= USAGE_RATIO * usage[first]:
                first, how = best, "usage"
        else:
            first = min(rime_readings, key=lambda r: (r not in normal, -usage[r], rime_readings.index(r)))
            how = "borrowed" if borrowed else "rime"

        rest = [r for r in attested if r != first]
        rest.sort(key=lambda r: (r not in normal, -usage[r], attested.index(r)))
        return [first] + rest, how
