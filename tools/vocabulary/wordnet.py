"""Reads WordNet 3.0 as Debian's wordnet-base installs it (/usr/share/wordnet)."""

import collections
import os
import re

WORDNET = "/usr/share/wordnet"

POS_FILES = {"n": "noun", "v": "verb", "a": "adj", "r": "adv"}
SENSE_KEY_POS = {"1": "n", "2": "v", "3": "a", "4": "r", "5": "a"}

# Usage domains (";u" pointers) that mark a word as offensive. Chosen after listing every
# usage domain the database uses: the others (colloquialism, plural, trademark, archaism,
# irony, ...) say how a word is used, not that it hurts.
OFFENSIVE_DOMAINS = {"obscenity", "ethnic_slur", "disparagement", "slang", "street_name"}
# Usage domains whose senses are names or not words a learner meets as words.
NAME_DOMAINS = {"trademark", "trade_name", "acronym", "abbreviation", "archaism"}
# Glosses that say outright that a sense is an insult or an obscenity.
OFFENSIVE_GLOSS = re.compile(
    r"\b(offensive|slur|obscene|vulgar|derogatory|disparaging|pejorative|slang|"
    r"(?:contemptuous|derisive) term)\b")

# lexname: WordNet's lexicographer file (noun.plant, verb.motion, ...); topics: the words of
# its topic domains (";c" pointers: law, chemistry, anatomy, ...); near: the keys of its
# hypernyms and similar senses ("@" and "&" pointers); frames: a verb's sentence frames
# [(frame number, 0 for all its words or the number of the word it is for)].
Synset = collections.namedtuple("Synset", "key words gloss domains lexname topics near frames")

LEXNAMES = (
    "adj.all adj.pert adv.all noun.Tops noun.act noun.animal noun.artifact noun.attribute "
    "noun.body noun.cognition noun.communication noun.event noun.feeling noun.food noun.group "
    "noun.location noun.motive noun.object noun.person noun.phenomenon noun.plant "
    "noun.possession noun.process noun.quantity noun.relation noun.shape noun.state "
    "noun.substance noun.time verb.body verb.change verb.cognition verb.communication "
    "verb.competition verb.consumption verb.contact verb.creation verb.emotion verb.motion "
    "verb.perception verb.possession verb.social verb.stative verb.weather adj.ppl").split()


def _lines(path):
    with open(path, encoding="utf-8") as f:
        return [line for line in f if not line.startswith("  ")]


class WordNet:
    def __init__(self, folder=WORDNET):
        self.synsets = {}
        self.index = collections.defaultdict(dict)
        self.counts = collections.defaultdict(collections.Counter)
        domain_of, topic_of, lexname_of, near_of, frames_of = {}, {}, {}, {}, {}
        for pos, name in POS_FILES.items():
            for line in _lines(os.path.join(folder, "data." + name)):
                head, _, gloss = line.partition("| ")
                fields = head.split()
                count = int(fields[3], 16)
                words = [re.sub(r"\(.*\)$", "", w) for w in fields[4 : 4 + 2 * count : 2]]
                key = fields[0] + pos
                domain_of[key] = re.findall(r";u (\d{8}) (\w)", head)
                topic_of[key] = re.findall(r";c (\d{8}) (\w)", head)
                lexname_of[key] = LEXNAMES[int(fields[1])]
                near_of[key] = [o + ("a" if p == "s" else p) for o, p in
                                re.findall(r"[@&] (\d{8}) (\w)", head)]
                # Frames follow the pointers as "+ 08 00"; a pointer is "+ 01036610 v 0000".
                frames_of[key] = [(int(f), int(w, 16)) for f, w in
                                  re.findall(r"\+ (\d\d) ([0-9a-f]{2})(?= |$)", head)]
                self.synsets[key] = (words, gloss.strip())
        for key, (words, gloss) in self.synsets.items():
            domains = {self.synsets[o + p][0][0].lower() for o, p in domain_of[key]}
            topics = {self.synsets[o + p][0][0].lower() for o, p in topic_of[key]}
            self.synsets[key] = Synset(key, words, gloss, domains, lexname_of[key], topics,
                                       near_of[key], frames_of[key])
        for pos, name in POS_FILES.items():
            for line in _lines(os.path.join(folder, "index." + name)):
                fields = line.split()
                senses = int(fields[2])
                self.index[fields[0]][pos] = [o + pos for o in fields[len(fields) - senses :]]
        with open(os.path.join(folder, "cntlist.rev"), encoding="utf-8") as f:
            for line in f:
                key, sense, count = line.split()
                lemma, _, rest = key.partition("%")
                self.counts[lemma][(SENSE_KEY_POS[rest[0]], int(sense))] += int(count)

    def tag_count(self, word):
        return sum(self.counts.get(word, {}).values())

    def senses(self, word):
        """The word's synsets, the most tagged in WordNet's sense-tagged corpus first, then
        in WordNet's order of senses (which follows frequency too)."""
        senses = self.index.get(word, {})
        order = list(POS_FILES)
        counts = self.counts.get(word, {})
        ranked = sorted(
            ((pos, n + 1) for pos, keys in senses.items() for n in range(len(keys))),
            key=lambda k: (-counts.get(k, 0), k[1], order.index(k[0])),
        )
        return [self.synsets[senses[pos][n - 1]] for pos, n in ranked]

    def flagged(self):
        """word -> why WordNet marks it offensive: a usage domain of one of its senses, or a
        gloss calling it offensive. Every word of a marked synset counts (a slur's synonyms
        are slurs too)."""
        found = {}
        for synset in self.synsets.values():
            marks = sorted(synset.domains & OFFENSIVE_DOMAINS)
            if not marks and OFFENSIVE_GLOSS.search(synset.gloss):
                marks = ["gloss:" + OFFENSIVE_GLOSS.search(synset.gloss).group(1)]
            for word in synset.words if marks else []:
                found.setdefault(word.lower(), marks[0])
        return found
