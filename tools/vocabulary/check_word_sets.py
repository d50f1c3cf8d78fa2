#!/usr/bin/env python3
"""Checks the shipped word sets (data/en, data/de ... data/ru) with the generator's own rules:
UTF-8 lines "word - meaning" ended by CR LF; the entries each set guarantees; every headword
English (one of the English set's, in the same module), once in its set, not marked offensive
by WordNet (wordnet-flagged.txt) nor denied (deny-list.txt); every meaning passing
meanings.problem (it does not name its headword, a part or its stem, is no empty form, is
short), short in the median; every entry drawn whole in the strip's font.

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

# The entries a set guarantees: in every lettered module, in New Words, in all. The translated
# sets hold the English headwords their dictionary translates; the smaller dictionaries know
# few of these advanced words.
GUARANTEED = {
    "en": (200, 150, 6000),  # WordNet and our New Words
    "de": (90, 50, 4700),  # FreeDict eng-deu, 460k index lines
    "fr": (4, 20, 350),  # eng-fra, 8.8k
    "es": (2, 20, 190),  # eng-spa, 5.9k
    "it": (2, 20, 160),  # eng-ita, 4.5k
    "pt": (10, 20, 750),  # eng-por, 16k
    "pl": (15, 20, 850),  # eng-pol, 16k
    "ru": (0, 15, 65),  # eng-rus, 1.7k
}

# Known answers of the rules: a rule broken so that it lets everything pass would pass every
# set as well.
RULE_CASES = [
    ("carefully", "with much care", "names the headword"),
    ("happiness", "being happy", "names the headword"),
    ("hotel", "Hotel", "names the headword"),
    ("well-off", "doing well", "names the headword"),
    ("unsympathetic", "not sympathetic", "names the headword"),
    ("marine", "of or relating to the sea", "empty form"),
    ("departure", "the act of leaving", "empty form"),
    ("abandon", "leave behind for good, and never come back to it.", "too long"),
    ("abandon", "leave behind for good, and never come back to it", None),
]

LINE = re.compile(r"(\S[^\r\n]*?) - (\S[^\r\n]*)")


def rule_faults():
    return ["rule: %s - %s: %s, expected %s" % (word, meaning, got, expected)
            for word, meaning, expected in RULE_CASES
            for got in [meanings.problem(word, meaning)] if got != expected]


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
    """The set's headwords by module and its well-formed entries [(line, where)], for the
    strip's measure. english: the English set's headwords by module, None for that set."""
    licence = os.path.join(root, folder, generator.WORD_SETS[folder])
    if not os.path.isfile(licence) or os.path.getsize(licence) <= 500:
        faults.append("%s: no licence text in %s" % (folder, generator.WORD_SETS[folder]))
    if not os.path.isfile(os.path.join(root, folder, "README")):
        faults.append("%s: no README" % folder)
    per_module, new_words, total = GUARANTEED[folder]
    flagged, denied = listed
    headwords, seen, lengths, lines = {}, set(), [], []
    for module in MODULES:
        name = "%s/%d.txt" % (folder, module)
        entries = read_module(os.path.join(root, name), name, faults)
        guaranteed = new_words if module == generator.NEW_WORDS else per_module
        if len(entries) < guaranteed:
            faults.append("%s: %d entries, %d guaranteed" % (name, len(entries), guaranteed))
        headwords[module] = {word for _, word, _ in entries}
        for number, word, meaning in entries:
            where = "%s:%d: %s - %s" % (name, number, word, meaning)
            why = ("not an English headword of the module"
                   if english is not None and word not in english[module]
                   else "headword twice in the set" if word in seen
                   else "marked offensive by WordNet" if word.lower() in flagged
                   else "on the deny list" if word.lower() in denied
                   else meanings.problem(word, meaning))
            if why:
                faults.append("%s: %s" % (why, where))
            seen.add(word)
            lengths.append(len(meaning))
            lines.append(("%s - %s" % (word, meaning), where))
    if len(lengths) < total:
        faults.append("%s: %d entries, %d guaranteed" % (folder, len(lengths), total))
    if lengths and statistics.median_high(lengths) > meanings.MEDIAN_LENGTH:
        faults.append("%s: meanings %d characters long in the median, at most %d" % (
            folder, statistics.median_high(lengths), meanings.MEDIAN_LENGTH))
    return headwords, lines


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
    english, lines = None, []
    for folder in generator.WORD_SETS:
        headwords, found = check_set(args.root, folder, english, (flagged, denied), faults)
        english = english or headwords
        lines += found
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
