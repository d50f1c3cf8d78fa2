#!/usr/bin/env python3
"""Generates the word sets under data/: en (English meanings) and de, fr, es, it, pt, pl, ru
(meanings translated), each with modules 4.txt ... 25.txt.

Needs the Debian packages wordnet-base, scowl and dict-freedict-eng-{deu,fra,spa,ita,por,pol,
rus}, and the measuring program built from measure_widths.cpp (CMake target
veltrano_measure_widths):

    tools/vocabulary/generate_modules.py build/bin/veltrano_measure_widths

Headwords: the single words of WordNet (lowercase letters, maybe hyphens) that SCOWL puts at
sizes 50 to 70 (LEVELS), the commoner size first and within a size the more used in WordNet's
sense-tagged corpus and glosses first, MAX_ENTRIES to a module. A module whose letters run
short (J, K, X - Z) reaches into the neighbouring sizes, in the order of FILL_LEVELS, until it
holds MIN_ENTRIES. Left out: names and abbreviations (not in SCOWL's word lists, or only in
senses WordNet marks as trademarks and the like), words WordNet marks offensive (listed in
wordnet-flagged.txt, rewritten by each run) and the words of deny-list.txt.

Meanings: of the word's senses, the most frequent first, the first whose gloss (first clause,
then without remarks in parentheses, then without a narrowing clause) or, failing that, whose
common synonyms (SCOWL size at most SYNONYM_LEVEL) make a meaning that passes the rules of
meanings.py and fits the strip. overrides.txt mends meanings a reader found wrong. New Words
(25.txt) come from new-words.txt.

Translated sets: the English headwords, each with one or two translations from FreeDict for
the part of speech of its English meaning (new-words-translated.txt adds hand translations of
New Words); a headword without a fitting translation is left out.

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

import freedict  # noqa: E402
import meanings  # noqa: E402
import scowl  # noqa: E402
import wordnet  # noqa: E402

ROOT = os.path.normpath(os.path.join(HERE, "..", "..", "data"))
WORDNET_COPYRIGHT = "/usr/share/doc/wordnet-base/copyright"
FREEDICT_COPYRIGHT = "/usr/share/doc/dict-freedict-eng-%s/copyright"

LEVELS = [50, 55, 60, 70]
FILL_LEVELS = [40, 80, 35, 95, 20, 10]
MAX_ENTRIES = 300
# A synonym explains a word only if its own words are at most this rare.
SYNONYM_LEVEL = 50
MIN_ENTRIES = 200

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
# The shipped word sets: folder -> the file of the licence it keeps.
WORD_SETS = {"en": WORDNET_LICENCE}
WORD_SETS.update({code: FREEDICT_LICENCE for code in freedict.LANGUAGES})

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


def usage(net, word):
    """How much the word is used: tagged senses weigh most, then the parts of speech it
    serves in."""
    return 10 * net.tag_count(word) + len(net.index.get(word, {}))


def options(net, word, flagged, common):
    """[(meaning, synset key)] for the word, in order of preference, each passing the rules
    (the width in the strip is checked later), or the reason there are none."""
    senses = [s for s in net.senses(word) if word in s.words
              and not s.domains & wordnet.NAME_DOMAINS]
    if not senses:
        return "name or abbreviation"
    found, reasons = [], collections.Counter()
    for synset in senses[:3]:
        written = meanings.from_gloss(synset.gloss)
        synonyms = meanings.from_synonyms(word, synset.words, flagged, common)
        good = []
        for meaning in written + ([synonyms] if synonyms else []):
            why = meanings.problem(word, meaning)
            if why:
                reasons[why] += 1
            else:
                good.append(meaning)
        found += [(m, synset.key) for m in good]
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
        if level not in LEVELS + FILL_LEVELS:
            continue
        if word in flagged:
            rejects["marked offensive by WordNet"] += 1
            continue
        if word in denied:
            rejects["deny list"] += 1
            continue
        found = options(net, word, flagged, common)
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
        candidates[word] = (level, found)

    widths = measure(measurer, ["%s - %s" % (w, m) for w, (_, o) in candidates.items()
                                for m, _ in o])
    modules, chosen_levels = {}, {}
    for number, letters in MODULES.items():
        def rank(word, order):
            return (order.index(candidates[word][0]), -usage(net, word), word)

        entries, meant = [], set()
        for allowed, cap in ((LEVELS, MAX_ENTRIES), (FILL_LEVELS, MIN_ENTRIES)):
            words = sorted((w for w in candidates if w[0] in letters
                            and candidates[w][0] in allowed), key=lambda w: rank(w, allowed))
            for word in words:
                if len(entries) >= cap:
                    break
                level, found = candidates[word]
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
        if len(entries) < MIN_ENTRIES:
            sys.exit("module %d (%s) has only %d entries" % (number, letters, len(entries)))
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


def translated_set(code, net, english, hand, flagged, measurer, rejects):
    """The English set with its meanings translated. A word the dictionary lacks may be
    translated through a synonym of its English sense (WordNet's synset) that has no other
    sense in WordNet: the dictionary's first sense of a word with many (dog for andiron,
    polish for glossiness) would be the wrong one."""
    dictionary = freedict.Dictionary(code)
    modules = {}
    for number, entries in english.items():
        found = []
        for word, _, key in entries:
            context = set(re.findall(r"[a-z]{4,}", " ".join(
                net.synsets[key].words + [net.synsets[key].gloss]).lower())) if key else set()
            context.discard(word)
            synonyms = [w.replace("_", " ") for w in net.synsets[key].words
                        if w.lower() not in flagged and len(net.senses(w.lower())) == 1
                        ] if key else []
            translation = hand.get((word, code))
            for source in [word] + [s for s in synonyms if s.islower() and s != word]:
                if translation:
                    break
                translation = dictionary.translate(
                    source, key[-1] if key else "n",
                    lambda t, w=word: meanings.problem(w, t) is None, context)
            if translation:
                found.append((word, translation))
            else:
                rejects["no translation"] += 1
        modules[number] = found
    widths = measure(measurer, ["%s - %s" % e for es in modules.values() for e in es])
    for number in modules:
        kept = [e for e in modules[number] if fits(widths, "%s - %s" % e)]
        rejects["too wide for the strip"] += len(modules[number]) - len(kept)
        modules[number] = kept
    return modules


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
{language} translations from the FreeDict English-{language} dictionary (Debian package
dict-freedict-eng-{code3}; licence in FREEDICT-LICENSE), some New Words translated by hand.
A headword the dictionary does not translate is left out, so the modules hold fewer entries
than the English ones. The dictionary's first sense of a word is taken (for the part of
speech of the English meaning where it marks parts of speech), so a translation may name
another sense of the word than the English set's meaning.
Generated by tools/vocabulary/generate_modules.py, which overwrites them when run again.
One "word - meaning" entry per line, UTF-8, lines ended by CR LF.
"""


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
    with open(os.path.join(HERE, "wordnet-flagged.txt"), "w", encoding="utf-8") as f:
        f.write("# Words WordNet 3.0 marks offensive, with the mark: a usage domain of one of\n"
                "# their senses or a gloss calling them so. Written by generate_modules.py\n"
                "# from /usr/share/wordnet; read by the test of the shipped word sets.\n")
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
        if meanings.problem(word, translation):
            sys.exit("hand translation of %s (%s): %s" % (word, code,
                                                          meanings.problem(word, translation)))
    for code in freedict.LANGUAGES:
        rejects = collections.Counter()
        modules = translated_set(code, net, english, hand, flagged, args.measurer, rejects)
        folder = os.path.join(args.out, code)
        write_set(folder, modules)
        copyright_file = FREEDICT_COPYRIGHT % freedict.LANGUAGES[code]
        with open(os.path.join(folder, FREEDICT_LICENCE), "w", encoding="utf-8") as f:
            f.write(freedict_licence(copyright_file, "eng-" + freedict.LANGUAGES[code]))
        write_readme(folder, TRANSLATED_README.format(language=LANGUAGE_NAMES[code],
                                                      code3=freedict.LANGUAGES[code]))
        report.append(summary(code, modules))
        report.append("         rejected: %s" % ", ".join(
            "%s %d" % item for item in rejects.most_common()))

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
