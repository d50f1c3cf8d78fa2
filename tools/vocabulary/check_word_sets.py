#!/usr/bin/env python3
"""Checks the shipped word sets (data/en, data/de ... data/ru) with the generator's own rules:
UTF-8 lines "word - meaning" ended by CR LF; no module empty; the entries each set guarantees;
every headword English, once in its set, not marked offensive (wordnet-flagged.txt) nor
denied (deny-list.txt); every module of a translated set holding the very headwords of the
English one, each with a translation or the English meaning; every meaning passing
meanings.problem (it does not name its headword, a part or its stem, is no empty form, has
balanced brackets, holds no pronunciation or grammar label, is short; an English one does not
end on a function word nor use dated or hurtful wording), short in the median; every entry
drawn whole in the strip's font; the entries a reader checked (READ_ENTRIES); the share of
translated entries each set guarantees, and "Meanings In" (veltrano/presentation/wordsets.h)
offering exactly the sets at least half translated; install-sources.sh installing every
package the generator reads.

    tools/vocabulary/check_word_sets.py build/bin/veltrano_measure_widths [--root FOLDER]

Needs no dictionary: only the sets, the lists of this folder and the measuring program.
Prints every fault and ends with status 1 if there is one.
"""

import argparse
import os
import re
import statistics
import sys

sys.dont_write_bytecode = True
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import generate_modules as generator  # noqa: E402
import meanings  # noqa: E402

MODULES = list(generator.MODULES) + [generator.NEW_WORDS]

WORDSETS_H = os.path.join(HERE, "..", "..", "veltrano", "presentation", "wordsets.h")

# The entries a set guarantees: in every lettered module, in New Words, in all; and the share
# of its entries translated. Every translated set holds the English headwords; J, K and X - Z
# hold fewer, as the words in use run short there.
GUARANTEED = {
    "en": (45, 150, 5500, 1.0),  # WordNet and our New Words
    "de": (45, 150, 5500, 0.86),  # Ding (trans-de-en), then FreeDict eng-deu
    "fr": (45, 150, 5500, 0.21),  # FreeDict eng-fra checked back by fra-eng, then via Spanish
    "es": (45, 150, 5500, 0.35),  # Apertium eng-spa, then FreeDict eng-spa
    "it": (45, 150, 5500, 0.19),  # FreeDict eng-ita checked back by ita-eng, then via Spanish
    "pt": (45, 150, 5500, 0.26),  # FreeDict eng-por checked back by por-eng, then via Spanish
    "pl": (45, 150, 5500, 0.27),  # FreeDict eng-pol, checked back by pol-eng
    "ru": (45, 150, 5500, 0.005),  # FreeDict eng-rus, 1.7k entries
}

# Known answers of the rules: a rule broken so that it lets everything pass would pass every
# set as well.
RULE_CASES = [
    ("carefully", "with much care", "names the headword"),
    ("happiness", "being happy", "names the headword"),
    ("hotel", "Hotel", "names the headword"),
    ("well-off", "doing well", "names the headword"),
    ("unsympathetic", "not sympathetic", "names the headword"),
    ("absorbency", "the property of being absorbent", "names the headword"),
    ("captaincy", "the post of captain", "names the headword"),
    ("eaglet", "a young eagle", "names the headword"),
    ("hater", "a person who hates", "names the headword"),
    ("knobby", "having knobs", "names the headword"),
    ("intransigence", "the trait of being intransigent", "names the headword"),
    ("mucus", "mucous secretion", "names the headword"),
    ("holiness", "the quality of being holy", "names the headword"),
    ("laziness", "being lazy", "names the headword"),
    ("ability", "the quality of being able to perform", "names the headword"),
    ("reception", "the act of receiving", "names the headword"),
    ("hearth", "the heart of the home", None),
    ("commodore", "a commissioned naval officer", None),
    ("fury", "intense anger", None),
    ("readiness", "the state of having been", "ends on a function word"),
    ("endanger", "pose a threat to", "ends on a function word"),
    ("cinch", "any undertaking that is easy to do", None),
    ("tarry", "loiter, hang around, mess about", None),
    ("demon", "an evil supernatural being", None),
    ("idiocy", "extreme mental retardation", "dated or hurtful wording"),
    ("nuthouse", "pejorative terms for an insane asylum", "dated or hurtful wording"),
    ("mantle", "a loose cloak (worn over", "unbalanced brackets"),
    ("marine", "of or relating to the sea", "empty form"),
    ("departure", "the act of leaving", "empty form"),
    ("argon", "ˈɑː", "pronunciation or grammar label"),
    ("zinc", "Zink Zn, zˌɛdˈɛn", "pronunciation or grammar label"),
    ("abandon", "verlassen {vt}", "pronunciation or grammar label"),
    ("abandon", "etw. aufgeben", "pronunciation or grammar label"),
    ("abandon", "leave behind for good, and never come back to it.", "too long"),
    ("abandon", "leave behind for good, and never come back to it", None),
]
# A translation may share the headword's root, never be the headword.
TRANSLATION_CASES = [
    ("abandon", "abandonar", None),
    ("zinc", "zinc", "names the headword"),
    ("nomination", "Aufstellung, Nominierung (Kandidaten", "unbalanced brackets"),
    ("nomination", "Nominierung (Kandidaten; Spieler)", None),
    ("outfit", "traje de", None),
]
# Known answers of the rules on whole sets: (English module's headwords, a module's entries,
# faults expected).
MODULE_CASES = [
    ({"ant", "bee"}, [("ant", "Ameise"), ("bee", "a flying insect")], []),
    ({"ant", "bee"}, [("ant", "Ameise")], ["lacks bee"]),
    ({"ant"}, [], ["lacks ant", "empty"]),
]
# (shares of translated entries, sets offered, faults expected).
OFFER_CASES = [
    ({"de": 0.8, "ru": 0.1}, ["en", "de"], []),
    ({"de": 0.8, "ru": 0.1}, ["en", "de", "ru"], ["ru offered"]),
    ({"de": 0.5, "ru": 0.1}, ["en"], ["de not offered"]),
]

# Entries a reader found in the wrong sense once, as the sets must hold them now: (set,
# headword, meaning; None for the English meaning, as no source has the sense).
READ_ENTRIES = [
    ("de", "flannel", "Flanell"),  # not Waschlappen, a British washcloth
    ("de", "mantle", "Umhang"),  # not Kaminsims, a mantelpiece
    ("de", "lifeline", None),  # a crease on the palm; Ding has only the rope and the rescue
    ("de", "nomination", "Aufstellung, Nominierung"),
]

LINE = re.compile(r"(\S[^\r\n]*?) - (\S[^\r\n]*)")


def module_faults(english, entries):
    """Faults of a module: headwords of the English module it lacks, and none at all."""
    faults = ["lacks " + w for w in sorted(english - {e[0] for e in entries})]
    return faults + (["empty"] if not entries else [])


def offer_faults(shares, offered):
    """Faults of the sets "Meanings In" offers, by the share of each translated set."""
    faults = ["%s offered, %.0f %% translated" % (c, 100 * shares[c]) for c in offered
              if c in shares and shares[c] < generator.OFFERED_SHARE]
    faults += ["%s not offered, %.0f %% translated" % (c, 100 * s) for c, s in shares.items()
               if s >= generator.OFFERED_SHARE and c not in offered]
    return faults + ["%s offered, no such set" % c for c in offered
                     if c != "en" and c not in shares]


def read_entry_faults(sets):
    """Faults of the entries READ_ENTRIES pins; sets: {folder: {module: {word: meaning}}}."""
    faults = []
    for folder, word, expected in READ_ENTRIES:
        module = next((m for m, entries in sets["en"].items() if word in entries), None)
        if module is None:
            faults.append("%s: %s left out, a reader checked it" % (folder, word))
            continue
        want = expected or sets["en"][module][word]
        got = sets[folder][module].get(word)
        if got != want:
            faults.append("%s/%d.txt: %s - %s, a reader checked %s" % (folder, module, word,
                                                                       got, want))
    return faults


def install_faults(path=os.path.join(HERE, "install-sources.sh")):
    """The generator's packages install-sources.sh does not install."""
    with open(path, encoding="utf-8") as f:
        listed = set(re.findall(r"[a-z0-9][a-z0-9.+-]*", f.read()))
    return ["install-sources.sh: lacks %s" % p for p in generator.PACKAGES if p not in listed]


def offered_sets(path=WORDSETS_H):
    """The codes of the sets "Meanings In" offers, as wordsets.h lists them."""
    with open(path, encoding="utf-8") as f:
        return re.findall(r'\{"(\w+)", "[^"]*", "[^"]*"\}', f.read())


def rule_faults():
    faults = ["rule: %s - %s: %s, expected %s" % (word, meaning, got, expected)
              for word, meaning, expected in RULE_CASES
              for got in [meanings.problem(word, meaning)] if got != expected]
    faults += ["rule: %s - %s: %s, expected %s" % (word, meaning, got, expected)
               for word, meaning, expected in TRANSLATION_CASES
               for got in [meanings.problem(word, meaning, english=False)] if got != expected]
    for english, entries, expected in MODULE_CASES:
        got = module_faults(english, entries)
        if [g.split(",")[0] for g in got] != expected:
            faults.append("rule: module %s: %s, expected %s" % (entries, got, expected))
    for shares, offered, expected in OFFER_CASES:
        got = offer_faults(shares, offered)
        if [g.split(",")[0] for g in got] != expected:
            faults.append("rule: offered %s: %s, expected %s" % (offered, got, expected))
    return faults


def read_module(path, name, faults):
    """[(line number, word, meaning)] of a module; faults of its text form go to faults."""
    try:
        with open(path, "rb") as f:
            data = f.read()
    except OSError as error:
        faults.append("%s: %s" % (name, error.strerror))
        return []
    try:
        text = data.decode("utf-8")
    except UnicodeDecodeError as error:
        faults.append("%s: not UTF-8 at byte %d" % (name, error.start))
        text = data.decode("utf-8", "replace")
    if not text:
        return []
    lines = text.split("\r\n")
    if lines[-1]:
        faults.append("%s: the last line does not end with CR LF" % name)
    else:
        lines.pop()
    entries = []
    for number, line in enumerate(lines, 1):
        match = LINE.fullmatch(line)
        if match:
            entries.append((number, match[1], match[2]))
        else:
            faults.append('%s:%d: not "word - meaning" ended by CR LF: %r' % (name, number, line))
    return entries


def check_set(root, folder, english, listed, faults):
    """The set's {module: {headword: meaning}}, its well-formed entries [(line, where)] for
    the strip's measure and its share of translated entries. english: the English set's
    meanings by module, None for that set; an entry of a translated set with the English
    meaning is not translated."""
    for name in generator.WORD_SETS[folder]:
        licence = os.path.join(root, folder, name)
        if not os.path.isfile(licence) or os.path.getsize(licence) <= 500:
            faults.append("%s: no licence text in %s" % (folder, name))
    if not os.path.isfile(os.path.join(root, folder, "README")):
        faults.append("%s: no README" % folder)
    per_module, new_words, total, translated_share = GUARANTEED[folder]
    flagged, denied = listed
    found, seen, lengths, lines, translated = {}, set(), [], [], 0
    for module in MODULES:
        name = "%s/%d.txt" % (folder, module)
        entries = read_module(os.path.join(root, name), name, faults)
        guaranteed = new_words if module == generator.NEW_WORDS else per_module
        if len(entries) < guaranteed:
            faults.append("%s: %d entries, %d guaranteed" % (name, len(entries), guaranteed))
        heads = set(english[module]) if english else {w for _, w, _ in entries}
        faults += ["%s: %s" % (name, f) for f in module_faults(heads, [e[1:] for e in entries])]
        found[module] = {word: meaning for _, word, meaning in entries}
        for number, word, meaning in entries:
            where = "%s:%d: %s - %s" % (name, number, word, meaning)
            own = english is None or meaning == english[module].get(word)
            translated += not own
            why = ("not an English headword of the module"
                   if english is not None and word not in english[module]
                   else "headword twice in the set" if word in seen
                   else "marked offensive by WordNet" if word.lower() in flagged
                   else "on the deny list" if word.lower() in denied
                   else meanings.problem(word, meaning, english=own))
            if why:
                faults.append("%s: %s" % (why, where))
            seen.add(word)
            lengths.append(len(meaning))
            lines.append(("%s - %s" % (word, meaning), where))
    if len(lengths) < total:
        faults.append("%s: %d entries, %d guaranteed" % (folder, len(lengths), total))
    share = translated / len(lengths) if english and lengths else 1.0
    if share < translated_share:
        faults.append("%s: %.1f %% of the entries translated, %.1f %% guaranteed" % (
            folder, 100 * share, 100 * translated_share))
    if lengths and statistics.median_high(lengths) > meanings.MEDIAN_LENGTH:
        faults.append("%s: meanings %d characters long in the median, at most %d" % (
            folder, statistics.median_high(lengths), meanings.MEDIAN_LENGTH))
    return found, lines, share


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("measurer", help="path of the veltrano_measure_widths program")
    parser.add_argument("--root", default=generator.ROOT, help="folder holding the sets")
    args = parser.parse_args()

    faults = rule_faults()
    flagged = {word for word, _ in generator.read_table("wordnet-flagged.txt", 2)}
    denied = {word for word, _ in generator.read_table("deny-list.txt", 2)}
    if len(flagged) <= 300 or "dago" not in flagged:
        faults.append("wordnet-flagged.txt: %d words, not WordNet's offensive ones" % len(flagged))
    # The English set comes first: its modules hold the headwords of all.
    english, lines, shares, sets = None, [], {}, {}
    for folder in generator.WORD_SETS:
        meant, found, share = check_set(args.root, folder, english, (flagged, denied), faults)
        if english is not None:
            shares[folder] = share
        english = english or meant
        sets[folder] = meant
        lines += found
    faults += read_entry_faults(sets) + install_faults()
    faults += ["wordsets.h: " + f for f in offer_faults(shares, offered_sets())]
    widths = generator.measure(args.measurer, [line for line, _ in lines]) if lines else {}
    for line, where in lines:
        why = generator.misfit(widths, line)
        if why:
            faults.append("%s: %s" % (why, where))

    print("\n".join(faults) or "%d entries in %d sets follow the rules" % (
        len(lines), len(generator.WORD_SETS)))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
