"""Word levels from Debian's scowl package (/usr/share/dict/scowl).

SCOWL sorts English words into size levels by how common they are: 10 to 35 make a small
everyday vocabulary, 50 and up the words an advanced reader still meets and learns, 80 and
95 the rare ones. A word's level is the smallest size list that holds it.
"""

import os
import re

SCOWL = "/usr/share/dict/scowl"
SIZES = [10, 20, 35, 40, 50, 55, 60, 70, 80, 95]
# British and American spellings both count (WordNet writes mostly American).
WORD_LISTS = ["english-words", "american-words", "british-words"]
ABBREVIATION_LISTS = ["english-abbreviations", "american-abbreviations", "british-abbreviations",
                      "special-roman-numerals"]


def _read(folder, lists):
    found = {}
    for size in SIZES:
        for name in lists:
            path = os.path.join(folder, "%s.%d" % (name, size))
            if os.path.exists(path):
                with open(path, encoding="utf-8") as f:
                    for line in f:
                        found.setdefault(line.strip(), size)
    return found


class Levels:
    def __init__(self, folder=SCOWL):
        self.words = _read(folder, WORD_LISTS)
        # British spellings (lustre, offence): WordNet counts their use under the American.
        common = _read(folder, ["english-words", "american-words"])
        self.british = {w for w in self.words if w not in common}
        # Abbreviations listed in lower case too (etc, ibid): not words to learn.
        self.abbreviations = {w.lower() for w in _read(folder, ABBREVIATION_LISTS)}

    def level(self, word):
        """The word's SCOWL size, None for names, abbreviations and words SCOWL lacks."""
        if word in self.abbreviations or not re.match(r"^[a-z]", word):
            return None
        return self.words.get(word)
