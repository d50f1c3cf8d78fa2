"""German translations from Debian's trans-de-en (/usr/share/trans/de-en, the Ding
dictionary): one line per German headword, "German :: English", each side cut by " | " into
the same number of slots (a sense, its inflected forms, examples), each slot a list of
synonyms cut by "; ". Marks: parts of speech in braces ({m}, {f}, {n}, {pl} nouns, {adj},
{adv}, {vt}, {vi}, {vr}), fields and registers in brackets ([chem.], [pej.], [geogr.]);
English verbs are written "to abandon".
"""

import collections
import re

DING = "/usr/share/trans/de-en"

_POS = {"m": "n", "f": "n", "n": "n", "pl": "n", "adj": "a", "adv": "r", "vt": "v", "vi": "v",
        "vr": "v", "v": "v"}
# Registers that make a word rude or dated, and fields that name places and the like.
OFFENSIVE = re.compile(r"\[(pej\.|vulg\.|offensive|derog\.)\]")
UNFIT = re.compile(r"\[(pej\.|vulg\.|slang|obs\.|veraltet|altertümlich|dated|archaic|humor\.|"
                   r"geogr\.|astron\.|hist\.|poet\.|Jugendsprache)\]")
# Placeholders for objects of German verbs and what is said about the words.
_PLACEHOLDER = re.compile(r"\b(etw|jdn|jdm|jds|jd|sth|sb)\.(\s|$)")

Slot = collections.namedtuple("Slot", "german english pos marks")


def _bare(text):
    """Text without remarks in brackets, braces, parentheses and slashes."""
    for pattern in (r"\[[^\[\]]*\]", r"\{[^{}]*\}", r"\([^()]*\)", r"/[^/]*/"):
        text = re.sub(pattern, " ", text)
    text = _PLACEHOLDER.sub(" ", text)
    return re.sub(r"\s+", " ", text).strip(" ,;.")


def english_heads(slot):
    """{headword: part of speech or None} of an English slot ("to abandon" is a verb)."""
    heads = {}
    for item in slot.split("; "):
        bare = _bare(item)
        if bare.startswith("to ") and " " not in bare[3:]:
            heads[bare[3:]] = "v"
        elif bare and " " not in bare:
            heads[bare] = None
    return heads


class Dictionary:
    def __init__(self, path=DING):
        self.slots = collections.defaultdict(list)
        with open(path, encoding="utf-8") as f:
            for line in f:
                if line.startswith("#") or " :: " not in line:
                    continue
                german, english = line.rstrip("\n").split(" :: ", 1)
                pairs = list(zip(german.split(" | "), english.split(" | ")))
                for g, e in pairs:
                    marks = set(re.findall(r"\{([a-z]+)\}", g))
                    for head, pos in english_heads(e).items():
                        kinds = {_POS[m] for m in marks if m in _POS} | ({pos} - {None})
                        if not kinds:
                            # Unmarked: German writes nouns with a capital.
                            kinds = {"n"} if _bare(g)[:1].isupper() else {"a", "r"}
                        self.slots[head.lower()].append(Slot(g, e, kinds, g + " " + e))

    def offensive_words(self):
        """The English words most of whose senses the dictionary marks rude."""
        return {w for w, slots in self.slots.items() if w.islower() and
                2 * sum(bool(OFFENSIVE.search(s.marks)) for s in slots) >= len(slots)}

    def candidates(self, word, pos, context):
        """[(score, [German words])] for the senses of the word of WordNet part of speech
        `pos`, the best first: those sharing the more English words with `context` (the words
        of the English meaning's sense), then the plain ones (no register or field)."""
        found = []
        for order, slot in enumerate(self.slots.get(word, [])):
            if pos not in slot.pos or UNFIT.search(slot.marks):
                continue
            english = set(re.findall(r"[a-z]{4,}", _bare(slot.english).lower())) - {word}
            shared = len(english & context)
            plain = not re.search(r"\[[^\]]*\]", slot.marks)
            items = [_bare(i) for i in slot.german.split("; ")]
            items = [i for i in items if i and "…" not in i and "..." not in i]
            if items:
                found.append(((-shared, not plain, order), items))
        found.sort(key=lambda f: f[0])
        return found
