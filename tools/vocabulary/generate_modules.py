#!/usr/bin/env python3
"""Generates the word sets under data/: en (English meanings) and de, fr, es, it, pt, pl, ru
(meanings translated), each with modules 4.txt ... 25.txt.

Needs the Debian packages that install-sources.sh installs (wordnet-base, scowl, trans-de-en,
lttoolbox, apertium-eng-spa, apertium-fr-es, apertium-spa-ita, apertium-es-pt,
dict-freedict-eng-{deu,fra,spa,ita,por,pol,rus}, dict-freedict-{fra,spa,ita,por,pol}-eng) and
the measuring program built from measure_widths.cpp (CMake target veltrano_measure_widths):

    tools/vocabulary/install-sources.sh
    tools/vocabulary/generate_modules.py build/bin/veltrano_measure_widths

Headwords: the single words of WordNet (lowercase letters, maybe hyphens) in use: a module takes
first those of SCOWL sizes 40 to 60 (LEVELS) that WordNet's sense-tagged corpus uses (sizes
above 55 at least three times), the more used first, then the used ones of size 35, the less
used first (the learner knows the most used), and where its letters run short the used
everyday words (size 20) and the common ones of no tagged use; MAX_ENTRIES to a module. Left
out: names, abbreviations, British spellings (WordNet counts their use under the American),
a verb's -ing forms, words whose senses are all technical (a field's topic, taxonomy, plants
and animals beyond size 55) or dated, words WordNet marks offensive or slang or Ding marks
rude (listed in wordnet-flagged.txt, rewritten by each run) and the words of deny-list.txt.

Meanings: the word's most used sense a learner meets, written from its gloss (first clause,
then without remarks in parentheses, then without a narrowing clause) or, failing that, its
common synonyms whose own first sense it is, as passes the rules of meanings.py (no word of
the headword's stem, balanced brackets, no last word that leaves it hanging, no dated or
hurtful wording) and fits the strip. A verb's gloss that ends on a preposition, its object
left out (pose a threat to), gets the object WordNet's frames give the verb (someone,
something). overrides.txt mends meanings a reader found wrong.
New Words (25.txt) come from new-words.txt.

Translated sets: every English headword of every module, with one or two translations of its
sense for the part of speech of its English meaning (see Translator), else its English
meaning; new-words-translated.txt adds hand translations of New Words.

The run prints a report and writes it, with every headword's SCOWL size, to report.txt.
"""

import argparse
import collections
import os
import re
import statistics
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import apertium  # noqa: E402
import ding  # noqa: E402
import freedict  # noqa: E402
import meanings  # noqa: E402
import scowl  # noqa: E402
import wordnet  # noqa: E402

ROOT = os.path.normpath(os.path.join(HERE, "..", "..", "data"))
WORDNET_COPYRIGHT = "/usr/share/doc/wordnet-base/copyright"
FREEDICT_COPYRIGHT = "/usr/share/doc/dict-freedict-eng-%s/copyright"

# The Debian packages of the sources (install-sources.sh installs them).
PACKAGES = (["wordnet-base", "scowl", "trans-de-en", "lttoolbox", "apertium-eng-spa",
             "apertium-fr-es", "apertium-spa-ita", "apertium-es-pt"]
            + ["dict-freedict-eng-" + c for c in ["deu", "fra", "spa", "ita", "por", "pol", "rus"]]
            + ["dict-freedict-%s-eng" % c for c in ["fra", "spa", "ita", "por", "pol"]])

LEVELS = [40, 50, 55, 60]
COMMON_LEVEL = 35
FILL_LEVELS = [20]
MAX_ENTRIES = 300
# A synonym explains a word only if its own words are at most this rare.
SYNONYM_LEVEL = 40

# Form2's List1: 11055 twips at 15 twips per pixel. The item's text keeps a few pixels of
# margin on either side.
LIST_WIDTH = 737
ITEM_MARGIN = 8

# Module number -> its letters.
MODULES = {n: letter for n, letter in zip(range(4, 20), "abcdefghijklmnop")}
MODULES.update({20: "qr", 21: "s", 22: "tu", 23: "vw", 24: "xyz"})
NEW_WORDS = 25

WORDNET_LICENCE = "WORDNET-LICENSE"
FREEDICT_LICENCE = "FREEDICT-LICENSE"
DING_LICENCE = "DING-LICENSE"
APERTIUM_LICENCE = "APERTIUM-LICENSE"
# The shipped word sets: folder -> the files of the licences of its sources.
WORD_SETS = {"en": [WORDNET_LICENCE]}
WORD_SETS.update({code: [FREEDICT_LICENCE] for code in freedict.LANGUAGES})
WORD_SETS["de"] = [DING_LICENCE, FREEDICT_LICENCE]
WORD_SETS.update({code: [APERTIUM_LICENCE, FREEDICT_LICENCE] for code in ["es", "fr", "it", "pt"]})
DING_COPYRIGHT = "/usr/share/doc/trans-de-en/copyright"
# The Apertium packages a set's translations come through: English-Spanish, then from Spanish.
APERTIUM_PACKAGES = {"es": ["apertium-eng-spa"], "fr": ["apertium-eng-spa", "apertium-fr-es"],
                     "it": ["apertium-eng-spa", "apertium-spa-ita"],
                     "pt": ["apertium-eng-spa", "apertium-es-pt"]}
FREEDICT_BACK_COPYRIGHT = "/usr/share/doc/dict-freedict-%s-eng/copyright"
# A set is offered in "Meanings In" when at least this share of its entries is translated.
OFFERED_SHARE = 0.5

LANGUAGE_NAMES = {"de": "German", "fr": "French", "es": "Spanish", "it": "Italian",
                  "pt": "Portuguese", "pl": "Polish", "ru": "Russian"}


def read_table(name, fields):
    """Rows of a "a | b | c" file of this folder; # starts a comment line."""
    rows = []
    with open(os.path.join(HERE, name), encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.strip()
            if not line or line.startswith("#"):
                continue
            row = [part.strip() for part in line.split("|")]
            if len(row) != fields:
                sys.exit("%s:%d: expected %d fields" % (name, number, fields))
            rows.append(row)
    return rows


# Fields whose senses are a specialist's, not a learner's: WordNet's topic domains and the
# "(law) ..." a gloss may begin with.
TECHNICAL = set(
    "law chemistry physics medicine biology anatomy mathematics genetics physiology pathology "
    "botany zoology immunology astronomy statistics electronics linguistics psychoanalysis "
    "heraldry geology thermodynamics arithmetic prosody electricity biochemistry microbiology "
    "pharmacology surgery geometry logic grammar phonetics phonology computer_science "
    "embryology histology virology bacteriology cytology mineralogy crystallography "
    "meteorology optics mechanics nuclear_physics algebra calculus topology trigonometry "
    "psychiatry neurology cardiology dentistry ophthalmology obstetrics veterinary_medicine "
    "ecology paleontology taxonomy morphology syntax semantics rhetoric theology "
    "christian_theology philosophy metaphysics".split())
TAXONOMY = re.compile(r"\b(genus|family|order|suborder|subfamily|class|subclass|phylum|"
                      r"division) [A-Z]|\bLatin\b")
DATED = re.compile(r"\b(archaic|obsolete|antiquated|old-fashioned|dated|poetic|literary)\b")
# Plants, animals, substances and body parts beyond SCOWL's size 55 are a specialist's names.
SPECIES = {"noun.plant", "noun.animal", "noun.substance", "noun.body"}


def fit_for_learners(synset, level):
    """Why a sense is not one to teach (technical, dated), or None."""
    opening = re.match(r"\(([a-z ]+)\)", synset.gloss)
    if synset.topics & TECHNICAL or (opening and opening[1].replace(" ", "_") in TECHNICAL):
        return "technical"
    if TAXONOMY.search(synset.gloss) or (synset.lexname in SPECIES and level > 55):
        return "technical"
    if DATED.search(synset.gloss) or "archaism" in synset.domains:
        return "archaic"
    return None


def usable_senses(net, word, level):
    """The word's senses a learner meets, the most frequent first, or why there are none."""
    senses = [s for s in net.senses(word) if word in s.words
              and not s.domains & wordnet.NAME_DOMAINS]
    if not senses:
        return "name or abbreviation"
    fit = [s for s in senses if not fit_for_learners(s, level)]
    return fit or "only %s senses" % fit_for_learners(senses[0], level)


# WordNet's verb frames by the object they give the verb: somebody (9 "Somebody ----s
# somebody", 10, 14, 17, 18, 20, 24, 25, 30) or something (8 "Somebody ----s something", 5,
# 11, 15, 16, 19, 21, 31).
PERSON_OBJECT = {9, 10, 14, 17, 18, 20, 24, 25, 30}
THING_OBJECT = {5, 8, 11, 15, 16, 19, 21, 31}
# "Between" and "among" want two objects or more: "come between something" is no English.
ENDS_ON_PREPOSITION = re.compile(r"\b(?!between$|among$|amongst$)(?:%s)$"
                                 % meanings.OBJECT_PREPOSITIONS)


def with_object(synset, word, meaning):
    """A verb's meaning that ends on a preposition, the verb's own object left out (pose a
    threat to), with the object the verb takes as its frames say (pose a threat to someone
    or something); the meaning as it is where it does not end so or the frames name no
    object."""
    if not synset.key.endswith("v") or not ENDS_ON_PREPOSITION.search(meaning):
        return meaning
    number = next((i + 1 for i, w in enumerate(synset.words) if w.lower() == word), 0)
    frames = {f for f, w in synset.frames if w in (0, number)}
    objects = [name for name, kinds in (("someone", PERSON_OBJECT), ("something", THING_OBJECT))
               if frames & kinds]
    return "%s %s" % (meaning, " or ".join(objects)) if objects else meaning


def options(net, word, level, flagged, common):
    """[(meaning, synset key)] for the word's most frequent sense a learner meets, in order of
    preference, each passing the rules (the width in the strip is checked later), or the
    reason there are none."""
    senses = usable_senses(net, word, level)
    if isinstance(senses, str):
        return senses
    synset = senses[0]
    written = [with_object(synset, word, m) for m in meanings.from_gloss(synset.gloss)]
    # A synonym explains only where this sense is its own first (abuse, not step, for
    # maltreat).
    pos = synset.key[-1]
    plain = [w for w in synset.words
             if net.index.get(w.lower(), {}).get(pos, [None])[0] == synset.key]
    synonyms = meanings.from_synonyms(word, plain, flagged, common)
    # One verb for another says little: most verbs have many senses (debilitate - drain).
    if synonyms and synset.key.endswith("v") and "," not in synonyms:
        synonyms = None
    found, reasons = [], collections.Counter()
    for meaning in written + ([synonyms] if synonyms else []):
        why = meanings.problem(word, meaning)
        if why:
            reasons[why] += 1
        else:
            found.append((meaning, synset.key))
    return found or (reasons.most_common(1)[0][0] if reasons else "no meaning")


def measure(measurer, lines):
    """{line: (its width in the strip in pixels, the characters the strip's font lacks)}"""
    lines = sorted(set(lines))
    result = subprocess.run(
        [measurer], input="\n".join(lines) + "\n", capture_output=True, text=True, check=True
    )
    rows = [row.split() for row in result.stdout.splitlines()]
    if len(rows) != len(lines):
        sys.exit("measure_widths gave %d widths for %d lines" % (len(rows), len(lines)))
    return {line: (int(row[0]), row[1:]) for line, row in zip(lines, rows)}


def misfit(widths, entry):
    """Why the entry is not drawn whole in the strip, or None."""
    width, missing = widths[entry]
    if missing:
        return "the strip's font lacks " + " ".join(missing)
    if width > LIST_WIDTH - ITEM_MARGIN:
        return "%d pixels wide, the strip holds %d" % (width, LIST_WIDTH - ITEM_MARGIN)
    return None


def fits(widths, entry):
    return misfit(widths, entry) is None


def tier(level, tags):
    """Which words a module takes first: 0 the sense-tagged words of the learner's sizes,
    1 the sense-tagged common ones, 2 (for letters that run short) the everyday ones and the
    common ones no tagged text used; None never."""
    if level in LEVELS and tags >= (1 if level <= 55 else 3):
        return 0
    if tags and level == COMMON_LEVEL:
        return 1
    if (tags and level in FILL_LEVELS) or (not tags and level in [COMMON_LEVEL] + LEVELS[:1]):
        return 2
    return None


def inflected(net, word):
    """Whether the word is a verb's -ing form (clocking, nipping): WordNet lists many as
    headwords of their own, with meanings that only name the verb's action."""
    if not word.endswith("ing") or len(word) < 6:
        return False
    base = word[:-3]
    verbs = [base, base + "e", base[:-1] if len(base) > 2 and base[-1] == base[-2] else None]
    return any(v and "v" in net.index.get(v, {}) for v in verbs)


def english_set(net, levels, flagged, denied, overrides, measurer, rejects, taken):
    """{module: [(word, meaning, synset key)]} and {word: level}; the words of `taken` (New
    Words) are left to their own module."""
    def common(token):
        level = levels.level(token)
        return level is not None and level <= SYNONYM_LEVEL

    candidates = {}
    for word in net.index:
        if word in taken or len(word) < 3 or not re.match(r"^[a-z]+(-[a-z]+)*$", word):
            continue
        level = levels.level(word)
        if level is None:
            rejects["not a SCOWL word (name, abbreviation, rare)"] += 1
            continue
        if inflected(net, word):
            rejects["a form of a verb"] += 1
            continue
        if word in levels.british:
            rejects["British spelling"] += 1
            continue
        tags = net.tag_count(word)
        rank = tier(level, tags)
        if rank is None:
            continue
        if word in flagged:
            rejects["marked offensive or slang by WordNet or Ding"] += 1
            continue
        if word in denied:
            rejects["deny list"] += 1
            continue
        found = options(net, word, level, flagged, common)
        if word in overrides:
            if meanings.problem(word, overrides[word]):
                sys.exit("override of %s: %s" % (word, meanings.problem(word, overrides[word])))
            # The sense meant, for the part of speech of translations: the one WordNet's
            # meaning was taken from, else the word's most frequent.
            senses = net.senses(word)
            key = found[0][1] if isinstance(found, list) else senses[0].key if senses else None
            found = [(overrides[word], key)]
        if isinstance(found, str):
            rejects[found] += 1
            continue
        # The less used first among the common words: the learner knows the most used.
        candidates[word] = (level, found, (rank, tags if rank else -tags))

    widths = measure(measurer, ["%s - %s" % (w, m) for w, (_, o, _) in candidates.items()
                                for m, _ in o])
    modules, chosen_levels = {}, {}
    for number, letters in MODULES.items():
        words = sorted((w for w in candidates if w[0] in letters),
                       key=lambda w: (candidates[w][2], w))
        entries, meant = [], set()
        for word in words:
            if len(entries) >= MAX_ENTRIES:
                break
            level, found, (rank, _) = candidates[word]
            fitting = [(m, k) for m, k in found if fits(widths, "%s - %s" % (word, m))]
            if not fitting:
                rejects["too wide for the strip"] += 1
                continue
            meaning, key = fitting[0]
            # A meaning written by hand stands for its word alone.
            if key in meant and word not in overrides:
                rejects["synonym of a word taken"] += 1
                continue
            entries.append((word, meaning, key))
            meant.add(key)
            chosen_levels[word] = level
        if not entries:
            sys.exit("module %d (%s) has no entries" % (number, letters))
        modules[number] = sorted(entries)
    return modules, chosen_levels


def new_words(measurer):
    rows = read_table("new-words.txt", 2)
    for word, meaning in rows:
        why = meanings.problem(word, meaning)
        if why:
            sys.exit("new word %s: %s" % (word, why))
    widths = measure(measurer, ["%s - %s" % tuple(r) for r in rows])
    wide = [r[0] for r in rows if not fits(widths, "%s - %s" % tuple(r))]
    if wide:
        sys.exit("new words too wide for the strip: %s" % wide)
    return sorted((w, m, None) for w, m in rows)


# How a verb's dictionary form ends, by language: a translation of a verb must end so, one of
# another part of speech must not where the English word is a verb too.
VERB_ENDINGS = {"de": r"n", "fr": r"(er|ir|re)", "es": r"(ar|er|ir)(se)?", "it": r"(are|ere|ire|rsi)",
                "pt": r"(ar|er|ir|or)", "pl": r"(ć|c)(\s+się)?", "ru": r"(ть|ться|чь|чься|ти)"}


def english_words(net, keys):
    """The one-word lemmas of the synsets, lower case."""
    return {w.lower() for k in keys for w in net.synsets[k].words if "_" not in w}


class Translator:
    """Translations of a headword's English sense into one language, from the sources the
    language has: German from Ding (trans-de-en) then FreeDict, Spanish from Apertium then
    FreeDict, French, Italian and Portuguese from FreeDict then from the Spanish set's
    translation through Apertium's dictionary from Spanish, Polish and Russian from FreeDict.
    A translation is taken only for the part of speech of the English sense, never written
    with a capital where the headword is not (a country for a common word); from FreeDict only
    when FreeDict's dictionary back into English gives the headword, a synonym of its sense or
    a word of a sense near it (a hypernym, a similar adjective); from Apertium only when that
    dictionary back into English does not give it for other words alone. eng-rus has no
    dictionary back: a Russian translation needs the headword to have one sense, or a synonym
    translated alike."""

    def __init__(self, code, net, english, spanish=None):
        """spanish: {headword: [its Spanish translations]} of the Spanish set, for the
        languages Apertium translates from Spanish."""
        self.code, self.net = code, net
        self.freedict = freedict.Dictionary(code)
        back = "/usr/share/dictd/freedict-%s-eng.index" % freedict.LANGUAGES[code]
        self.back = freedict.Dictionary(code, reverse=True) if os.path.exists(back) else None
        self.ding = ding.Dictionary() if code == "de" else None
        self.apertium = apertium.translations(
            sorted({e[0] for es in english.values() for e in es})) if code == "es" else {}
        self.spanish = spanish if code in apertium.FROM_SPANISH else {}
        pairs = {(t, key[-1]) for es in english.values() for w, _, key in es if key
                 for t in self.spanish.get(w, [])}
        self.from_spanish = apertium.from_spanish(code, pairs) if self.spanish else {}

    def fits_pos(self, word, item, pos):
        first = item.split()[0]
        if self.code == "de":
            if pos == "n":
                return first[:1].isupper()
            return item[:1].islower() and (pos != "v" or item.endswith("n"))
        if item[:1].isupper() or first.lower() == word:
            return False
        verb = re.fullmatch(r"\w+" + VERB_ENDINGS[self.code], item.split(" ")[0] if pos == "v"
                            else item) is not None
        if pos == "v":
            return verb
        return not (verb and "v" in self.net.index.get(word, {}))

    def acceptable(self, word, item, pos):
        return (meanings.problem(word, item, english=False) is None
                and self.fits_pos(word, item, pos))

    def confirmed(self, word, item, key, pos):
        synset = self.net.synsets[key]
        known = english_words(self.net, [key] + synset.near) | {word}
        if self.back is not None:
            return bool(self.back.english(item) & known)
        others = [w for w in english_words(self.net, [key]) if w != word]
        return len(self.net.senses(word)) == 1 or any(
            item in self.freedict.candidates(w, pos) for w in others)

    def contradicted(self, word, item, key):
        """Whether FreeDict's dictionary back into English knows the item for other words
        only."""
        if self.back is None or not self.back.entries(item):
            return False
        return not self.confirmed(word, item, key, key[-1])

    def context(self, word, key):
        """The words of a sense, to tell it from the word's others: those of four letters or
        more of its synonyms, gloss and near senses, and its lexicographer file's name
        (artifact, food)."""
        synset = self.net.synsets[key]
        context = set(re.findall(r"[a-z]{4,}", " ".join(
            synset.words + [synset.gloss] + [w for k in synset.near
                                             for w in self.net.synsets[k].words]).lower()))
        return (context - {word}) | {synset.lexname.split(".")[1]}

    def translate(self, word, key):
        """One or two translations joined by ", ", or None."""
        pos = key[-1]
        context = self.context(word, key)
        if self.ding is not None and self.ding.slots.get(word):
            known = set(self.freedict.candidates(word, pos))
            others = [self.context(word, k) for k in self.net.index[word].get(pos, [])
                      if k != key]
            slots = self.ding.candidates(word, pos, context, others)
            slots.sort(key=lambda s: (s[0][:2], -len(known & set(s[1])), s[0][2:]))
            picked = next((p for p in ([i for i in items if self.acceptable(word, i, pos)]
                                       for _, items in slots) if p), [])
        elif (word, pos) in self.apertium:
            picked = [i for i in self.apertium[(word, pos)] if self.acceptable(word, i, pos)
                      and not self.contradicted(word, i, key)]
        else:
            picked = [i for i in self.freedict.candidates(word, pos)
                      if self.acceptable(word, i, pos) and (
                          self.code == "de" or self.confirmed(word, i, key, pos))]
            # Through Spanish: the Spanish set's own translation, checked there, each step of
            # the part of speech of the English sense.
            through = [i for s in self.spanish.get(word, [])
                       for i in self.from_spanish.get((s, pos), [])]
            picked = picked or [i for i in dict.fromkeys(through)
                                if self.acceptable(word, i, pos)
                                and not self.contradicted(word, i, key)]
        picked = picked[:2]
        while picked and not self.acceptable(word, ", ".join(picked), pos):
            picked.pop()
        return ", ".join(picked) or None


def translated_set(code, net, english, hand, measurer, rejects, spanish=None):
    """The English set with its meanings translated where a source has a fitting
    translation; every other entry keeps its English meaning. [(word, meaning, translated)]
    by module."""
    translator = Translator(code, net, english, spanish)
    modules = {}
    for number, entries in english.items():
        found = []
        for word, meaning, key in entries:
            translation = hand.get((word, code)) or (
                translator.translate(word, key) if key else None)
            found.append((word, translation, True) if translation else (word, meaning, False))
        modules[number] = found
    widths = measure(measurer, ["%s - %s" % e[:2] for es in modules.values() for e in es])
    english_meaning = {e[0]: e[1] for es in english.values() for e in es}
    for number, entries in modules.items():
        for i, (word, meaning, translated) in enumerate(entries):
            if translated and not fits(widths, "%s - %s" % (word, meaning)):
                rejects["too wide for the strip"] += 1
                entries[i] = (word, english_meaning[word], False)
        rejects["no translation: English meaning"] += sum(not e[2] for e in entries)
    return modules


def share(modules):
    """The share of entries translated."""
    entries = [e for es in modules.values() for e in es]
    return sum(e[2] for e in entries) / len(entries)


def paragraphs(copyright_file):
    """The paragraphs of a Debian machine-readable copyright file, each a list of lines."""
    with open(copyright_file, encoding="utf-8") as f:
        text = f.read()
    return [p.split("\n") for p in text.split("\n\n") if p.strip()]


def licence_text(paragraph):
    """A licence's text as written in its "License:" paragraph (indented by one blank, "."
    for an empty line)."""
    return "\n".join("" if l == " ." else l[1:] for l in paragraph[1:]) + "\n"


def wordnet_licence(copyright_file):
    for paragraph in paragraphs(copyright_file):
        if "License: WordNet3.0" in paragraph:
            return licence_text(paragraph[paragraph.index("License: WordNet3.0") :])
    sys.exit("no WordNet licence in " + copyright_file)


def debian_copyright(copyright_file):
    """A Debian copyright file whole, but for the paragraphs about the packaging (debian/*)
    and the full text of the GPL, which it names."""
    kept = [p for p in paragraphs(copyright_file) if not p[0].startswith("Files: debian")]
    return "\n\n".join("\n".join(p) for p in kept) + "\n"


def freedict_licence(copyright_file, name):
    """The copyright paragraph of the dictionary eng-NAME and the full text of every
    licence it names."""
    stanzas = paragraphs(copyright_file)
    files = next(p for p in stanzas if p[0] == "Files: %s/*" % name)
    names = next(l for l in files if l.startswith("License:"))[len("License:"):]
    text = ["\n".join(files)]
    for licence in re.split(r" and | or ", names.strip()):
        full = [p for p in stanzas if p[0] == "License: " + licence and len(p) > 1]
        text += ["\n".join(full[-1])] if full else []
    return "\n\n".join(text) + "\n"


def write_set(folder, modules):
    os.makedirs(folder, exist_ok=True)
    for number, entries in modules.items():
        with open(os.path.join(folder, "%d.txt" % number), "w", encoding="utf-8",
                  newline="") as f:
            f.write("".join("%s - %s\r\n" % (e[0], e[1]) for e in entries))


ENGLISH_README = """\
Veltrano's English word set: modules 4.txt (A) to 24.txt (X - Z) hold words an advanced
learner is still learning (SCOWL sizes 50 to 70; J, K and X - Z reach into neighbouring
sizes), with meanings from WordNet 3.0 (licence in WORDNET-LICENSE), shortened and checked
so that no meaning explains a word by itself. 25.txt (New Words) holds words that entered
common English since about 2000, with meanings written for Veltrano.
All are generated by tools/vocabulary/generate_modules.py, which overwrites them when run again.
To add your own words, edit 25.txt or any module: one "word - meaning" entry per line, lines
ended by CR LF.
"""

TRANSLATED_README = """\
Veltrano's word set with meanings in {language}: the headwords of the English set (data/,
same module numbers: 4.txt is A ... 24.txt X - Z, 25.txt New Words), each with one or two
{language} translations of the English meaning's sense, from {sources}.
A translation is taken only for the part of speech of the English meaning; a headword no
source translates so keeps its English meaning. Some New Words are translated by hand.
Generated by tools/vocabulary/generate_modules.py, which overwrites them when run again.
One "word - meaning" entry per line, UTF-8, lines ended by CR LF.
"""

SOURCES = {
    "de": "the Ding German-English dictionary (Debian package trans-de-en; licence in "
          "DING-LICENSE), else the FreeDict English-German dictionary (dict-freedict-eng-%s; "
          "licence in FREEDICT-LICENSE)",
    "es": "Apertium's English-Spanish bilingual dictionary (Debian package apertium-eng-spa; "
          "licence in APERTIUM-LICENSE), else the FreeDict English-Spanish dictionary "
          "(dict-freedict-eng-%s), each checked against FreeDict's Spanish-English one "
          "(licences in FREEDICT-LICENSE)",
}
for _code in ["fr", "it", "pt", "pl"]:
    SOURCES[_code] = ("the FreeDict English-%s dictionary (Debian package "
                      "dict-freedict-eng-%%s), taken only where FreeDict's %s-English one "
                      "translates it back (licences in FREEDICT-LICENSE)") % (
        LANGUAGE_NAMES[_code], LANGUAGE_NAMES[_code])
for _code in ["fr", "it", "pt"]:
    SOURCES[_code] += (", else the Spanish set's translation translated on by Apertium's "
                       "Spanish-%s bilingual dictionary (Debian package %s; licences of it "
                       "and of apertium-eng-spa in APERTIUM-LICENSE), as a word of the same "
                       "part of speech that FreeDict's %s-English dictionary does not give "
                       "for other words only") % (
        LANGUAGE_NAMES[_code], APERTIUM_PACKAGES[_code][1], LANGUAGE_NAMES[_code])
SOURCES["ru"] = ("the FreeDict English-Russian dictionary (Debian package dict-freedict-eng-%s; "
                 "licence in FREEDICT-LICENSE)")


def write_licences(folder, code):
    """The licences of the set's sources, as their Debian packages state them."""
    three = freedict.LANGUAGES[code]
    texts = [freedict_licence(FREEDICT_COPYRIGHT % three, "eng-" + three)]
    if os.path.exists(FREEDICT_BACK_COPYRIGHT % three):
        texts.append(freedict_licence(FREEDICT_BACK_COPYRIGHT % three, three + "-eng"))
    with open(os.path.join(folder, FREEDICT_LICENCE), "w", encoding="utf-8") as f:
        f.write("\n".join(texts))
    apertium_files = ["/usr/share/doc/%s/copyright" % p for p in APERTIUM_PACKAGES.get(code, [])]
    for name, copyright_files in ((DING_LICENCE, [DING_COPYRIGHT]),
                                  (APERTIUM_LICENCE, apertium_files)):
        if name in WORD_SETS[code]:
            with open(os.path.join(folder, name), "w", encoding="utf-8") as f:
                f.write("\n".join(debian_copyright(c) for c in copyright_files))


def write_readme(folder, text):
    with open(os.path.join(folder, "README"), "w", encoding="utf-8") as f:
        f.write(text)


def summary(name, modules):
    lengths = [len(e[1]) for es in modules.values() for e in es]
    counts = " ".join("%d:%d" % (n, len(es)) for n, es in modules.items())
    return "%-8s %5d entries, meaning length median %g max %d; per module %s" % (
        name, len(lengths), statistics.median(lengths), max(lengths), counts)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("measurer", help="path of the veltrano_measure_widths program")
    parser.add_argument("--wordnet", default=wordnet.WORDNET, help="WordNet's dict folder")
    parser.add_argument("--out", default=ROOT, help="folder to write the sets into")
    args = parser.parse_args()

    net = wordnet.WordNet(args.wordnet)
    levels = scowl.Levels()
    flagged = net.flagged()
    for word in ding.Dictionary().offensive_words():
        flagged.setdefault(word, "Ding")
    with open(os.path.join(HERE, "wordnet-flagged.txt"), "w", encoding="utf-8") as f:
        f.write("# Words WordNet 3.0 marks offensive or slang, with the mark: a usage domain of\n"
                "# one of their senses or a gloss calling them so; \"Ding\" where trans-de-en\n"
                "# marks most senses of the word rude (pej., vulg.). Written by\n"
                "# generate_modules.py; read by the test of the shipped word sets.\n")
        f.write("".join("%s | %s\n" % item for item in sorted(flagged.items())))
    denied = {w for w, _ in read_table("deny-list.txt", 2)}
    overrides = {w: m for w, m, _ in read_table("overrides.txt", 3)}

    report, rejects = [], collections.Counter()
    fresh = new_words(args.measurer)
    english, chosen_levels = english_set(net, levels, flagged, denied, overrides,
                                         args.measurer, rejects, {e[0] for e in fresh})
    english[NEW_WORDS] = fresh
    write_set(os.path.join(args.out, "en"), english)
    with open(os.path.join(args.out, "en", WORDNET_LICENCE), "w", encoding="utf-8") as f:
        f.write(wordnet_licence(WORDNET_COPYRIGHT))
    write_readme(os.path.join(args.out, "en"), ENGLISH_README)
    report.append(summary("en", english))
    histogram = collections.Counter(chosen_levels.values())
    report.append("         SCOWL sizes of the headwords: %s" % ", ".join(
        "%d: %d" % item for item in sorted(histogram.items())))
    report.append("         rejected: %s" % ", ".join(
        "%s %d" % item for item in rejects.most_common()))

    hand = {(w, c): t for w, c, t in read_table("new-words-translated.txt", 3)}
    for (word, code), translation in hand.items():
        if meanings.problem(word, translation, english=False):
            sys.exit("hand translation of %s (%s): %s" % (word, code,
                                                          meanings.problem(word, translation, english=False)))
    shares, spanish, reported = {}, {}, {}
    # Spanish first: French, Italian and Portuguese are also translated from it.
    for code in sorted(freedict.LANGUAGES, key=lambda c: c != "es"):
        rejects = collections.Counter()
        modules = translated_set(code, net, english, hand, args.measurer, rejects, spanish)
        if code == "es":
            spanish = {w: m.split(", ") for number, es in modules.items() if number != NEW_WORDS
                       for w, m, translated in es if translated}
        folder = os.path.join(args.out, code)
        write_set(folder, modules)
        write_licences(folder, code)
        write_readme(folder, TRANSLATED_README.format(
            language=LANGUAGE_NAMES[code], sources=SOURCES[code] % freedict.LANGUAGES[code]))
        shares[code] = share(modules)
        reported[code] = [summary(code, modules) + "; translated %.0f %%" % (100 * shares[code]),
                          "         rejected: %s" % ", ".join(
                              "%s %d" % item for item in rejects.most_common())]
    report += [line for code in freedict.LANGUAGES for line in reported[code]]
    report.append("Offered in Meanings In (at least half translated): en %s" % " ".join(
        c for c in freedict.LANGUAGES if shares[c] >= OFFERED_SHARE))

    print("\n".join(report))
    with open(os.path.join(HERE, "report.txt"), "w", encoding="utf-8") as f:
        f.write("\n".join(report) + "\n\nNew Words known elsewhere (ours; WordNet's):\n")
        for word, meaning, _ in fresh:
            for synset in net.senses(word)[:2]:
                f.write("  %s: %s; %s\n" % (word, meaning, synset.gloss.split(";")[0]))
        f.write("\nHeadwords and their SCOWL sizes:\n")
        for number in MODULES:
            f.write("%d.txt: %s\n" % (number, " ".join(
                "%s(%d)" % (e[0], chosen_levels[e[0]]) for e in english[number])))


if __name__ == "__main__":
    main()
