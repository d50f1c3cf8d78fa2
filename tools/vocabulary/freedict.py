"""English -> X translations from Debian's FreeDict dictionaries (dict-freedict-eng-*), read
from their dictd files in /usr/share/dictd: NAME.index lists "headword TAB offset TAB length"
(base64 numbers) into the gzip-compressed NAME.dict.dz.

The dictionaries come in three layouts. deu (from Ding) holds one entry per sense and part of
speech, the part of speech marked in angle brackets (<v>, <adj>, <fem>); fra, spa, ita, por
and rus number their senses "1. ...", "2. ..." without parts of speech; pol groups them by
part of speech "I. <N> 1. ... II. <V> ...".
"""

import gzip
import os
import re

DICTD = "/usr/share/dictd"
LANGUAGES = {"de": "deu", "fr": "fra", "es": "spa", "it": "ita", "pt": "por", "pl": "pol",
             "ru": "rus"}

_BASE64 = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/"

# Parts of speech as the dictionaries mark them -> WordNet's n, v, a, r.
_POS = {"v": "v", "vt": "v", "vi": "v", "adj": "a", "adv": "r", "n": "n", "fem": "n",
        "masc": "n", "neut": "n", "pl": "n", "noun": "n", "verb": "v", "s": "n"}
# Senses marked as dated, rare or rude: not what a learner should take home.
_AVOID = re.compile(r"\[(dated|veraltet|obs\.|selten|rare|archaic|slang|vulg\.|pej\.|ugs\.|"
                    r"coll\.|humor\.|poet\.|lit|old)\]", re.I)
# Object placeholders (something, somebody) in front of German and English verbs.
_PLACEHOLDER = re.compile(r"\b(etw\.|jdn\.|jdm\.|jds\.|jd\.|sth\.|sb\.|sth|sb)\s*")


def _number(text):
    value = 0
    for c in text:
        value = value * 64 + _BASE64.index(c)
    return value


def _pos_marks(text):
    return {_POS[m.lower()] for m in re.findall(r"<([A-Za-z]+)", text) if m.lower() in _POS}


def _english_words(body):
    """The English words of an eng-deu sense: its synonyms and cross references in braces
    and the English side of its examples ("abandon a mine"  - ein Bergwerk ...)."""
    english = " ".join(re.findall(r"\{([^{}]*)\}", body) + re.findall(r'"([^"]*)"\s+-', body))
    return set(re.findall(r"[a-z]{4,}", english.lower()))


def _clean(item):
    item = _AVOID.sub("", item)
    for pattern in (r"<[^<>]*>", r"\[[^\[\]]*\]", r"\([^()]*\)", r"\{[^{}]*\}"):
        item = re.sub(pattern, "", item)
    item = _PLACEHOLDER.sub("", item)
    item = re.sub(r"^\s*([IVX]+\.|\d+\.)\s*", "", item)
    return re.sub(r"\s+", " ", item).strip(" ,;:-/")


class Dictionary:
    def __init__(self, code, folder=DICTD, reverse=False):
        """The English-X dictionary of language `code`, or with `reverse` its X-English
        one."""
        name = ("freedict-%s-eng" if reverse else "freedict-eng-%s") % LANGUAGES[code]
        with gzip.open(os.path.join(folder, name + ".dict.dz")) as f:
            self._data = f.read()
        self._index = {}
        with open(os.path.join(folder, name + ".index"), encoding="utf-8") as f:
            for line in f:
                word, offset, length = line.rstrip("\n").split("\t")
                self._index.setdefault(word, []).append((_number(offset), _number(length)))
        self.code = code

    def __contains__(self, word):
        return word in self._index

    def entries(self, word):
        """The word's entries as text, phrases filed under their first word left out (in
        the dictionaries with pronunciations, those give themselves away by a
        pronunciation longer than the word: "house /haustʃɑːdʒ/")."""
        found = []
        for offset, length in self._index.get(word, []):
            text = self._data[offset : offset + length].decode("utf-8")
            head = text.split("\n", 1)[0]
            ipa = re.search(r"/([^/]*)/", head)
            letters = len(re.sub(r"[ˈˌː'.]", "", ipa.group(1))) if ipa else 0
            if " " not in word and letters > len(word) + 2:
                continue
            found.append(text)
        return found

    def senses(self, word):
        """[(parts of speech marked, text of the sense)] in dictionary order."""
        senses = []
        for text in self.entries(word):
            head, _, body = text.partition("\n")
            if self.code == "pl":
                body = re.sub(r"^<[^>]*>\s*", "", body.strip())
                parts = re.split(r"(?m)^[IVX]+\.\s+", body) if re.match(r"I\.", body) else [body]
                for part in filter(None, parts):
                    marks = _pos_marks(part.split("\n", 1)[0]) or _pos_marks(head)
                    senses.append((marks, part))
            else:
                senses.append((_pos_marks(head) | _pos_marks(body.split("\n", 1)[0]), body))
        return senses

    def english(self, word):
        """The English words a reverse dictionary gives for a word, lower case."""
        text = " ".join(e.partition("\n")[2] for e in self.entries(word))
        return set(re.findall(r"[a-z]+(?:-[a-z]+)*", re.sub(r"/[^/]*/", " ", text.lower())))

    def candidates(self, word, pos):
        """[translation] of the word's senses of WordNet part of speech `pos` (a sense
        without marks may be of any), in dictionary order: every entry's first line and its
        numbered lines ("2. abandonner, délaisser")."""
        senses = self.senses(word)
        if self.code == "de" and pos == "v":
            senses = self.senses(word + " sth") + self.senses(word + " sb") + senses
        found = []
        for marks, body in senses:
            if marks and pos not in marks:
                continue
            lines = [l for l in body.split("\n") if l.strip()]
            lines = lines[:1] + [l for l in lines[1:] if re.match(r"\s*\d+\.\s", l)]
            for item in [i for l in lines if not _AVOID.search(l)
                         for i in re.split(r"[,;/]", _clean(l))]:
                item = _clean(item)
                if item and self._plain(item) and item not in found:
                    found.append(item)
        return found

    def _plain(self, item):
        """Whether an item is a translation as it stands: not a fragment ("Nacht…"), not a
        remark, and not one of the phrases eng-spa and eng-por write without their blanks
        (tenerelpropósito, papelhigiénico), which give themselves away by their length."""
        if "…" in item or "..." in item or ":" in item:
            return False
        return not (self.code in ("es", "pt") and " " not in item and len(item) >= 12)

    def translate(self, word, pos, acceptable, context=(), most=2):
        """Up to `most` translations of the word's first sense of WordNet part of speech
        `pos` (a sense without marks may be of any), each passing `acceptable`. Of eng-deu's
        senses, those sharing the more English words with `context` (the words of the
        English meaning's sense) come first: its senses name English synonyms and examples."""
        senses = self.senses(word)
        if self.code == "de" and pos == "v":
            # eng-deu files a verb's main senses under "abandon sth", "abandon sb".
            senses = self.senses(word + " sth") + self.senses(word + " sb") + senses
        if context:
            senses.sort(key=lambda sense: -len(_english_words(sense[1]) & set(context)))
        for marks, body in senses:
            if marks and pos not in marks:
                continue
            lines = [l for l in body.split("\n") if l.strip()]
            if not lines or _AVOID.search(lines[0]):
                continue
            # The first line is the first (numbered) sense; the others are further senses,
            # examples, notes and phrases.
            items = [_clean(i) for i in re.split(r"[,;/]", _clean(lines[0]))]
            picked = [i for i in items if i and self._plain(i) and acceptable(i)][:most]
            while picked and not acceptable(", ".join(picked)):
                picked.pop()
            if picked:
                return ", ".join(picked)
        return None
