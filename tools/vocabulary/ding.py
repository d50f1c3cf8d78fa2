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

# English words a sense of a field has in its WordNet gloss, synonyms or lexicographer file,
# by the field's mark: a slot marked for a field the English sense shows no sign of is
# another sense (mantle: Kaminsims [constr.] is not "the cloak as a symbol of authority").
FIELDS = {
    "med.": "disease medical medicine patient illness symptom injury treatment drug body "
            "state tissue blood",
    "anat.": "body bone organ muscle tissue skin",
    "techn.": "device machine mechanical tool instrument engine apparatus artifact",
    "mach.": "machine engine device artifact",
    "cook.": "food cooking cook dish meal baked flavor sauce meat bread drink consumption",
    "zool.": "animal bird fish insect mammal",
    "ornith.": "bird",
    "bot.": "plant tree flower leaf shrub herb",
    "agr.": "farm farming crop soil agriculture cattle livestock plant",
    "textil.": "fabric cloth textile woven yarn wool woolen cotton silk thread garment clothing",
    "mil.": "military army soldier soldiers troops war weapon armed naval",
    "pol.": "political politics government party vote election",
    "adm.": "administration official office government",
    "jur.": "legal court crime criminal judge contract",
    "sport": "game sport player team ball race athlete competition",
    "relig.": "religious church religion worship priest christian holy",
    "mus.": "music musical song singing melody instrument",
    "econ.": "money financial economic business market price payment trade",
    "fin.": "money financial business market price payment bank",
    "chem.": "chemical compound element acid substance",
    "phys.": "physics energy force particle",
    "biol.": "cell organism biology living",
    "biochem.": "cell organism chemical",
    "psych.": "mental mind psychological behavior emotion feeling",
    "naut.": "ship boat vessel sail sailor naval deck harbor",
    "constr.": "building construction wall roof floor house structure",
    "arch.": "building architecture structure roof column",
    "geol.": "rock earth mineral geological soil crust",
    "min.": "mining mine ore mineral",
    "ling.": "word language grammar linguistic speech",
    "comp.": "computer software program data",
    "math.": "number mathematics quantity equation",
    "electr.": "electric electrical current circuit voltage",
    "aviat.": "aircraft airplane flight pilot plane",
    "meteo.": "weather wind rain cloud storm",
    "astron.": "star planet astronomy",
    "print": "printing print type page",
    "photo.": "photograph photography camera",
    "phil.": "philosophy philosophical",
    "art": "painting artist picture",
}
FIELDS = {mark: set(words.split()) for mark, words in FIELDS.items()}
# Marks of a figurative sense, and of English words used so in one country only (the word
# sets follow American usage).
FIGURATIVE = re.compile(r"\[(fig\.|übtr\.)\]")
REGIONAL = re.compile(r"\[(Br\.|eBr\.|Sc\.|Ir\.|Austr\.|NZ|Can\.|Northern English)\]")

Slot = collections.namedtuple("Slot", "german english pos marks")


def _in_field(field, words):
    """Whether a sense's words show signs of a field (alike in their first five letters:
    birds, bird)."""
    return any(c[:5] == w[:5] for c in FIELDS[field] for w in words)


def items(side):
    """The synonyms of a slot: cut at "; " outside brackets, as a remark may hold "; " too
    (Nominierung {f} (Kandidaten; Spieler))."""
    found, depth, start = [], 0, 0
    for i, c in enumerate(side):
        depth += (c in "([{") - (c in ")]}")
        if c == ";" and depth <= 0 and side[i + 1 : i + 2] == " ":
            found.append(side[start:i])
            start = i + 2
    return found + [side[start:]]


def _bare(text):
    """Text without remarks in brackets, braces, parentheses and slashes."""
    for pattern in (r"\[[^\[\]]*\]", r"\{[^{}]*\}", r"\([^()]*\)", r"/[^/]*/"):
        text = re.sub(pattern, " ", text)
    text = _PLACEHOLDER.sub(" ", text)
    return re.sub(r"\s+", " ", text).strip(" ,;.")


def english_heads(slot):
    """{headword: part of speech or None} of an English slot ("to abandon" is a verb)."""
    heads = {}
    for item in items(slot):
        bare = _bare(item)
        if bare.startswith("to ") and " " not in bare[3:]:
            heads[bare[3:]] = "v"
        elif bare and " " not in bare:
            heads[bare] = None
    return heads


class Dictionary:
    def __init__(self, path=DING):
        self.slots = collections.defaultdict(list)
        # How many lines use a German word: how common it is, as far as the dictionary shows.
        self.uses = collections.Counter()
        with open(path, encoding="utf-8") as f:
            for line in f:
                if line.startswith("#") or " :: " not in line:
                    continue
                german, english = line.rstrip("\n").split(" :: ", 1)
                self.uses.update(set(re.findall(r"\w+", german)))
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

    def own_marks(self, word, slot):
        """The marks of the English word's own item in a slot (flannel [Br.])."""
        return " ".join(i for i in items(slot.english) if _bare(i).lower() in (word, "to " + word))

    def candidates(self, word, pos, context, others=()):
        """[(score, [German words])] for the senses of the word of WordNet part of speech
        `pos`, the best first: those of American usage (as WordNet's senses are; flannel
        [Br.] is a washcloth), those sharing the more English words with `context` (the words
        of the English meaning's sense), the plain ones (no register or field). Where no sense
        shares a word with `context`, those whose first German word is the more common come
        first, and a sense marked figurative, or for a field `context` shows no sign of and
        one of `others` does (the English word's other senses of this part of speech, as
        sets of words like `context`), is taken for another sense and left out. German words marked rude or dated are left out,
        and a sense whose English word is marked so."""
        found = []
        for order, slot in enumerate(self.slots.get(word, [])):
            own = self.own_marks(word, slot)
            if pos not in slot.pos or UNFIT.search(own):
                continue
            english = set(re.findall(r"[a-z]{4,}", _bare(slot.english).lower())) - {word}
            shared = len(english & context)
            plain = not re.search(r"\[[^\]]*\]", slot.marks)
            german = [_bare(i) for i in items(slot.german) if not UNFIT.search(i)]
            german = [i for i in german if i and "…" not in i and "..." not in i]
            fields = set(re.findall(r"\[([^\]]+)\]", slot.marks)) & set(FIELDS)
            guess = bool(others) and (bool(FIGURATIVE.search(slot.marks)) or any(
                not _in_field(f, context) and any(_in_field(f, o) for o in others)
                for f in fields))
            # A phrase is as common as its rarest word (seine Missbilligung spüren lassen).
            uses = min(self.uses[w] for w in re.findall(r"\w+", german[0])) if german else 0
            if german:
                found.append(((bool(REGIONAL.search(own)), -shared, not plain, order), german,
                              guess, uses))
        if found and all(f[0][1] == 0 for f in found):
            # Nothing tells the senses apart: the common word of a sense the English one may
            # be, rather than the dictionary's order.
            found = [((f[0][0], 0, False, -f[3], f[0][3]),) + f[1:] for f in found
                     if not f[2]]
        found.sort(key=lambda f: f[0])
        return [f[:2] for f in found]
