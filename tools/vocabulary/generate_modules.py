#!/usr/bin/env python3
"""Generates the word modules data/4.txt ... data/25.txt from WordNet 3.0.

Needs the Debian package wordnet-base (/usr/share/wordnet) and the measuring program
built from measure_widths.cpp (CMake target veltrano_measure_widths):

    tools/vocabulary/generate_modules.py build/bin/veltrano_measure_widths

A module holds the single words (lowercase letters, maybe hyphens) of its letters as
"word - meaning" lines ended by CR LF, in alphabetical order. The meaning is the first
clause of the gloss of the word's most frequent sense (by tag count; a sense whose gloss
names the word itself, or where the word is a name, is passed over for the next one).

Words are taken by usage, from the tag counts of WordNet's sense-tagged corpus
(cntlist.rev: how often each sense was tagged), in tiers:

  1. tagged MIN_COUNT to MAX_COUNT times in all: the words worth learning. More often
     than MAX_COUNT are the basic words (chair, village, yellow);
  2. tagged once;
  3. never tagged, but used by WordNet itself: in its glosses (inflected forms count)
     or as part of its compound entries;
  4. basic words, tagged more than MAX_COUNT times;
  5. neither tagged nor used: obscure; the words with more senses, then the shorter ones
     first.

A module takes tiers 1 to 3, the more often used words first, up to MAX_ENTRIES entries;
tiers 4 and 5 only fill a module (X - Z, K) up to MIN_ENTRIES. An entry must fit the
strip's list: its measured width at most LIST_WIDTH - ITEM_MARGIN pixels.
"""

import argparse
import collections
import os
import re
import subprocess
import sys

WORDNET = "/usr/share/wordnet"
COPYRIGHT = "/usr/share/doc/wordnet-base/copyright"
OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "data")

MIN_COUNT = 2
MAX_COUNT = 20
MAX_ENTRIES = 400
MIN_ENTRIES = 200

# Form2's List1: 11055 twips at 15 twips per pixel. The item's text keeps a few pixels of
# margin on either side.
LIST_WIDTH = 737
ITEM_MARGIN = 8

# Module number -> its letters.
MODULES = {n: letter for n, letter in zip(range(4, 20), "abcdefghijklmnop")}
MODULES.update({20: "qr", 21: "s", 22: "tu", 23: "vw", 24: "xyz"})

WORD = re.compile(r"^[a-z]+(-[a-z]+)*$")
ROMAN = re.compile(r"^[ivxlcdm]+$")
TOKEN = re.compile(r"[a-z]+(?:-[a-z]+)*")
# Glosses that mark a word as an insult or an obscenity.
OFFENSIVE = re.compile(r"\b(offensive|slur|obscene|vulgar|derogatory|disparaging)\b")

# Endings of inflected forms and what replaces them in the lemma.
INFLECTIONS = [("s", ""), ("es", ""), ("ies", "y"), ("ed", ""), ("ed", "e"), ("ing", ""),
               ("ing", "e")]

POS_FILES = {"n": "noun", "v": "verb", "a": "adj", "r": "adv"}
SENSE_KEY_POS = {"1": "n", "2": "v", "3": "a", "4": "r", "5": "a"}

# Module 25: new words, with meanings of our own.
NEW_WORDS = [
    ("app", "a program for a phone or tablet"),
    ("binge-watch", "to watch many episodes of a series in one go"),
    ("blog", "a website of regular posts by one writer or a small group"),
    ("broadband", "a fast, always-on internet connection"),
    ("chatbot", "a program that holds a conversation in text or speech"),
    ("cloud", "storage and computing offered over the internet"),
    ("crowdfunding", "raising money from many people, usually online"),
    ("cyberbullying", "bullying someone through the internet or phone"),
    ("deepfake", "a faked video or voice, made by software, that seems real"),
    ("download", "to copy a file from the internet to your own device"),
    ("e-book", "a book read on a screen"),
    ("emoji", "a small picture used in a text message"),
    ("firewall", "a barrier that blocks unwanted network traffic"),
    ("ghosting", "ending all contact with someone without a word"),
    ("hashtag", "a word after a # sign that labels a post"),
    ("hotspot", "a place or device that offers wireless internet"),
    ("influencer", "a person who sways followers on social media"),
    ("livestream", "to broadcast video over the internet as it happens"),
    ("malware", "software made to harm or spy on a computer"),
    ("meme", "an idea, image or joke spread widely online"),
    ("paywall", "a barrier that lets only paying readers see a website"),
    ("phishing", "tricking people into giving away passwords or data"),
    ("photobomb", "to spoil a photo by jumping into it as it is taken"),
    ("podcast", "a series of audio episodes to download or stream"),
    ("selfie", "a photo you take of yourself"),
    ("smartphone", "a mobile phone that works like a small computer"),
    ("spam", "unwanted messages sent in bulk"),
    ("streaming", "playing sound or video while it is being received"),
    ("telecommute", "to work from home, linked to the office online"),
    ("unfriend", "to remove someone from your contacts on a social network"),
    ("upcycle", "to make something better out of waste material"),
    ("vlog", "a blog made of video clips"),
    ("webinar", "a seminar or talk held over the internet"),
    ("wiki", "a website that its readers can edit together"),
]


def read_lines(path):
    with open(path, encoding="utf-8") as f:
        return [line for line in f if not line.startswith("  ")]


def load_synsets(wordnet):
    """offset+pos -> (its words as written, gloss)."""
    synsets = {}
    for pos, name in POS_FILES.items():
        for line in read_lines(os.path.join(wordnet, "data." + name)):
            head, _, gloss = line.partition("| ")
            fields = head.split()
            count = int(fields[3], 16)
            words = [re.sub(r"\(.*\)$", "", w) for w in fields[4 : 4 + 2 * count : 2]]
            synsets[fields[0] + pos] = (words, gloss.strip())
    return synsets


def load_index(wordnet):
    """lemma -> {pos: [synset keys, most frequent sense first]}."""
    index = collections.defaultdict(dict)
    for pos, name in POS_FILES.items():
        for line in read_lines(os.path.join(wordnet, "index." + name)):
            fields = line.split()
            senses = int(fields[2])
            index[fields[0]][pos] = [o + pos for o in fields[len(fields) - senses :]]
    return index


def load_counts(wordnet):
    """lemma -> {(pos, sense number): tag count}."""
    counts = collections.defaultdict(collections.Counter)
    with open(os.path.join(wordnet, "cntlist.rev"), encoding="utf-8") as f:
        for line in f:
            key, sense, count = line.split()
            lemma, _, rest = key.partition("%")
            counts[lemma][(SENSE_KEY_POS[rest[0]], int(sense))] += int(count)
    return counts


def database_uses(synsets, index):
    """lemma -> how often WordNet itself uses it: in glosses (a plural or an inflected
    form counts for its lemma) and as a part of compound entries (yacht in yacht_club)."""
    tokens = collections.Counter()
    for _, gloss in synsets.values():
        tokens.update(TOKEN.findall(gloss.lower()))
    uses = collections.Counter()
    for token, count in tokens.items():
        for lemma in {token} | {token[: -len(end)] + base for end, base in INFLECTIONS
                                if token.endswith(end) and len(token) > len(end) + 2}:
            if lemma in index:
                uses[lemma] += count
    for lemma in index:
        if "_" in lemma:
            uses.update(set(lemma.split("_")))
    return uses


def senses_by_frequency(senses, counts):
    """The word's synsets, the most tagged first, then in WordNet's order of senses."""
    order = list(POS_FILES)
    ranked = sorted(
        ((pos, n + 1) for pos, keys in senses.items() for n in range(len(keys))),
        key=lambda k: (-counts.get(k, 0), k[1], order.index(k[0])),
    )
    return [senses[pos][n - 1] for pos, n in ranked]


def meanings(word, gloss):
    """Ways to write a gloss, the fullest first: its first clause (no example sentences),
    then that clause without its parenthesised remarks. None that names the word itself."""
    first = re.split(r'[;"]', gloss)[0].replace("`", "'")
    while first.count("(") > first.count(")"):
        first = first[: first.rindex("(")]
    first = first.strip(" ,:")
    bare = re.sub(r"\s*\([^()]*\)", "", first).strip(" ,")
    return [m for m in dict.fromkeys([first, bare]) if m and word not in TOKEN.findall(m.lower())]


def tier(total, uses):
    """(tier, usage): the higher the usage, the earlier the word is taken within its tier;
    of the basic words the least used first."""
    if total > MAX_COUNT:
        return 4, -total
    if total >= MIN_COUNT:
        return 1, total
    if total == 1:
        return 2, 1
    if uses:
        return 3, uses
    return 5, 0


def candidates(wordnet):
    """word -> (tier, usage, [(meaning, synset)]) for every word that may enter a module.
    The meanings are those of its most frequent suitable sense, then those of the next."""
    synsets = load_synsets(wordnet)
    index = load_index(wordnet)
    counts = load_counts(wordnet)
    uses = database_uses(synsets, index)
    found = {}
    for word, senses in index.items():
        if len(word) < 3 or not WORD.match(word):
            continue
        ranked = senses_by_frequency(senses, counts.get(word, {}))
        if any(OFFENSIVE.search(synsets[key][1]) for key in ranked):
            continue
        # Senses where the word is written capitalised are names (Israeli, Austin).
        ranked = [key for key in ranked if word in synsets[key][0]]
        if not ranked or (ROMAN.match(word) and any(w.isdigit() for w in synsets[ranked[0]][0])):
            continue
        options = [(m, key) for key in ranked[:2] for m in meanings(word, synsets[key][1])]
        if options:
            level, usage = tier(sum(counts.get(word, {}).values()), uses[word])
            if level == 5:
                usage = len(ranked)
            found[word] = (level, usage, options)
    return found


def measure(measurer, lines):
    result = subprocess.run(
        [measurer], input="\n".join(lines) + "\n", capture_output=True, text=True, check=True
    )
    widths = [int(w) for w in result.stdout.split()]
    if len(widths) != len(lines):
        sys.exit("measure_widths gave %d widths for %d lines" % (len(widths), len(lines)))
    return dict(zip(lines, widths))


def fitting_entry(word, options, widths):
    """The first of the word's entries that fits the strip, with its synset."""
    for meaning, synset in options:
        entry = "%s - %s" % (word, meaning)
        if widths[entry] <= LIST_WIDTH - ITEM_MARGIN:
            return entry, synset
    return None, None


def module_entries(letters, found, widths):
    """The module's entries: tiers 1 to 3 up to MAX_ENTRIES, tiers 4 and 5 only up to
    MIN_ENTRIES; in each tier the more often used words first (in tier 5 the words with
    more senses, then the shorter ones). One word per meaning: of synonyms (yogurt,
    yoghurt) only the first taken."""
    ranked = sorted(
        (w for w in found if w[0] in letters),
        key=lambda w: (found[w][0], -found[w][1], len(w) if found[w][0] == 5 else 0, w),
    )
    entries, meant = [], set()
    for word in ranked:
        level, _, options = found[word]
        if len(entries) >= (MAX_ENTRIES if level <= 3 else MIN_ENTRIES):
            break
        entry, synset = fitting_entry(word, options, widths)
        if entry and synset not in meant:
            entries.append(entry)
            meant.add(synset)
    return entries


def write_licence(copyright_file, out):
    """Copies WordNet's licence from the package's copyright file (Debian's format: the
    text follows "License: WordNet3.0", indented by one blank, "." for an empty line)."""
    with open(copyright_file, encoding="utf-8") as f:
        lines = f.read().splitlines()
    start = lines.index("License: WordNet3.0") + 1
    text = []
    for line in lines[start:]:
        if not line.startswith(" "):
            break
        text.append("" if line == " ." else line[1:])
    with open(os.path.join(out, "WORDNET-LICENSE"), "w", encoding="utf-8") as f:
        f.write("\n".join(text) + "\n")


def write_module(out, number, entries):
    with open(os.path.join(out, "%d.txt" % number), "w", encoding="utf-8", newline="") as f:
        f.write("".join(e + "\r\n" for e in entries))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("measurer", help="path of the veltrano_measure_widths program")
    parser.add_argument("--wordnet", default=WORDNET, help="WordNet's dict folder")
    parser.add_argument("--copyright", default=COPYRIGHT, help="wordnet-base's copyright file")
    parser.add_argument("--out", default=OUT, help="folder to write the modules into")
    args = parser.parse_args()

    found = candidates(args.wordnet)
    new_words = ["%s - %s" % pair for pair in NEW_WORDS]
    lines = ["%s - %s" % (w, m) for w, (_, _, options) in found.items() for m, _ in options]
    widths = measure(args.measurer, lines + new_words)
    too_wide = [e for e in new_words if widths[e] > LIST_WIDTH - ITEM_MARGIN]
    if too_wide:
        sys.exit("new words too wide for the strip: %s" % too_wide)

    for number, letters in MODULES.items():
        entries = module_entries(letters, found, widths)
        if len(entries) < MIN_ENTRIES:
            sys.exit("module %d (%s) has only %d entries" % (number, letters, len(entries)))
        write_module(args.out, number, sorted(entries))
        tiers = collections.Counter(found[e.split(" - ")[0]][0] for e in entries)
        print("%d.txt %-3s %d entries, by tier %s" % (number, letters.upper(), len(entries),
                                                     dict(sorted(tiers.items()))))

    write_module(args.out, 25, sorted(new_words))
    print("25.txt New Words %d entries" % len(new_words))
    write_licence(args.copyright, args.out)


if __name__ == "__main__":
    main()
