"""What makes a meaning teach, and the ways to write one from a WordNet gloss.

check_word_sets.py holds the shipped files to the same rules, with these very functions.
"""

import difflib
import os
import re

MAX_LENGTH = 48
MEDIAN_LENGTH = 32

# Endings stripped, the longest first and again and again while four letters stay, to get a
# word's stem: carefully -> care, abandonment -> abandon, happiness -> happ, happy -> happ.
# After -tion and -sion nothing more is cut: what is left is already the bare root (decision
# -> deci, reception -> recep), and cutting on would leave a few letters that begin many
# words (commissioned -> comm, as in commodore).
SUFFIXES = sorted(
    "ations ation tions tion sions sion ments ment ness ities ity ically ical ally fully ful "
    "less ously ous ively ive ings ing edly ed ers er est ies ily ly ism ist ize ise able ible "
    "al ic or es s y e i".split(),
    key=len,
    reverse=True,
)
FINAL_SUFFIXES = {"tion", "tions", "sion", "sions"}

# Prefixes that leave the word they are put before recognisable (unsympathetic, reunify).
PREFIXES = ["un", "non", "dis", "in", "im", "ir", "il", "mis", "mal", "re", "pre", "over",
            "under", "out"]

# Meanings that only point back at a related word instead of saying what the word means.
EMPTY_FORMS = [
    re.compile(r"\bin an? \S+ manner\b"),
    re.compile(r"\bof or relating to\b"),
    re.compile(r"\bthe act of \S+ing\b"),
]


# Spellings an ending changes, as the stem ends once the ending is cut -> as the word without
# it ends: holiness -> holi, holy (y to i); ability -> abil, abl(e); reception -> recep,
# receiv(e).
RESPELLINGS = [(re.compile(r"i$"), "y"), (re.compile(r"bil$"), "bl"),
               (re.compile(r"bil$"), "ble"), (re.compile(r"cep$"), "ceiv")]


def stem(word):
    word = word.lower()
    changed = True
    while changed:
        changed = False
        for suffix in SUFFIXES:
            if word.endswith(suffix) and len(word) - len(suffix) >= 4:
                word = word[: -len(suffix)]
                changed = suffix not in FINAL_SUFFIXES
                break
    return word


def stems(word):
    """The word's stem and, where its ending changed the spelling, the stem spelled as the
    word without that ending is: holiness and holy share "holy"."""
    found = stem(word)
    return {found} | {p.sub(r, found) for p, r in RESPELLINGS if p.search(found)}


def tokens(text):
    """The words of a text in any script, lower case; hyphens and apostrophes split."""
    return re.findall(r"[^\W\d_]+", text.lower())


# Pairs of a headword and a word of its meaning that begin alike by chance, read and found
# unrelated; the rule below would reject them.
UNRELATED = {("acrostic", "across"), ("backwash", "backwards"), ("hearth", "heart")}


def same_stem(token, word):
    """Whether two words begin alike so far that one is the other with an ending: knobby and
    knobs, hater and hates, eaglet and eagle, captaincy and captain, absorbency and
    absorbent; a shared start of four letters or more that leaves at most two letters of the
    shorter word."""
    common = len(os.path.commonprefix([token, word]))
    return common >= 4 and common >= min(len(token), len(word)) - 2


def names_headword(headword, meaning):
    """Whether the meaning holds the headword, a part of it (well-off) or a word of the same
    stem (carefully: care, careful)."""
    heads = {headword.lower()} | {p for p in tokens(headword) if len(p) >= 3}
    # unsympathetic - not sympathetic
    heads |= {h[len(p) :] for h in heads for p in PREFIXES if h.startswith(p)
              and len(h) - len(p) >= 5}
    stemmed = {s for h in heads for s in stems(h)}
    word = headword.lower()
    for token in tokens(meaning):
        if (word, token) in UNRELATED:
            continue
        if token in heads or stems(token) & stemmed:
            return True
        if any(same_stem(token, h) for h in heads):
            return True
        # Another spelling of the same word: mucus - mucous.
        if len(token) >= 4 and difflib.SequenceMatcher(None, token, word).ratio() >= 0.8:
            return True
        if any(len(s) >= 4 and token.startswith(s) for s in stemmed):
            return True
        # A part of a compound: backache - an ache in the back, droplet - a tiny drop.
        for part in {token, stem(token)}:
            if len(part) >= 4 and len(word) >= len(part) + 3 and (
                    word.startswith(part) or word.endswith(part)):
                return True
    return False


# What a dictionary writes about a word rather than its meaning: pronunciations (IPA letters,
# /.../), grammar labels ({m}, <adj>, [Am.], (pl)), the placeholders of German and English
# verbs (etw., jdn., sth.) and other abbreviations ending in a full stop.
NOTATION = re.compile(
    r"[ˈˌːəɪʊɛæɑɒɔʃʒθðŋʌɜɐʁɡ]|/[^/]*/|[{}<>\[\]]|\((?:m|f|n|pl|sg|adj|adv|v|vt|vi)\.?\)|"
    r"(?:^|\s)(?:etw|jdn|jdm|jds|jd|sth|sb|usw|bzw|ugs|z\.\s?B|e\.g|i\.e|etc|Am|Br)\.")


def notation(meaning):
    return bool(NOTATION.search(meaning))


def empty_form(meaning):
    return any(form.search(meaning.lower()) for form in EMPTY_FORMS)


def balanced(meaning):
    """Whether every bracket opened is closed, in order: a list cut inside a remark leaves
    one open ("Nominierung (Kandidaten")."""
    closing = {")": "(", "]": "[", "}": "{"}
    opened = []
    for c in meaning:
        if c in "([{":
            opened.append(c)
        elif c in closing and (not opened or opened.pop() != closing[c]):
            return False
    return not opened


# Words an English meaning never ends on, as they leave it hanging ("the state of having
# been", "the branch of medicine dealing"): articles, auxiliaries, conjunctions, prepositions
# that need their object (not the particles of phrasal verbs: hang around, look on) and
# participles that need their complement. Be, is, do, will, can, may and must are verbs or
# nouns of their own too (come into being, good will, easy to do).
OBJECT_PREPOSITIONS = (r"of|to|with|for|from|at|into|onto|upon|toward|towards|against|among|"
                       r"amongst|between|during|without|via|per|unto|amid|like|than")
HANGING = re.compile(
    r"\b(?:a|an|the|been|am|are|was|were|has|have|had|having|does|did|shall|should|would|"
    r"could|might|and|or|but|nor|if|because|although|though|whether|whereas|unless|that|as|"
    r"dealing|relating|pertaining|belonging|referring|" + OBJECT_PREPOSITIONS + r")$",
    re.IGNORECASE)

# Wording of senses that is dated and hurts (idiocy - extreme mental retardation), or says
# that the word is a slur (nuthouse - pejorative terms for an insane asylum).
HURTFUL = re.compile(r"\b(?:mental(?:ly)? retard\w*|retard(?:ed|s)?|imbeciles?|cretins?|"
                     r"morons?|pejorative)\b", re.IGNORECASE)


def problem(headword, meaning, english=True):
    """Why the meaning may not be shipped with the headword, or None. A meaning in another
    language may be a word of the same root (abandon - abandonar), not the headword itself;
    the rules of English wording (its last word, hurtful terms) hold for English only."""
    if names_headword(headword, meaning) if english else (
            headword.lower() in tokens(meaning)):
        return "names the headword"
    if empty_form(meaning):
        return "empty form"
    if not balanced(meaning):
        return "unbalanced brackets"
    if notation(meaning):
        return "pronunciation or grammar label"
    if english and HANGING.search(meaning.rstrip(" .")):
        return "ends on a function word"
    if english and HURTFUL.search(meaning):
        return "dated or hurtful wording"
    if len(meaning) > MAX_LENGTH:
        return "too long"
    return None


# Words that start a clause narrowing down what comes before it.
NARROWING = re.compile(
    r" (?:that|which|whose|who|where|having|used|especially|usually|typically|often|with|"
    r"designed|consisting|containing|resembling|reserved|characterized|marked|made|found|"
    r"native|located|growing|living|held|worn|served|erected|forming|lacking) ")

# Words a cut-off meaning must not end with: it would leave the sentence hanging.
DANGLING = re.compile(r"\b(a|an|the|of|to|in|for|with|by|on|at|from|as|and|or|that|which|who|"
                      r"one|any|some|various|being|saying|than|is|are|was|were|like|spread|when|while|if|"
                      r"because|so|but|into|onto|through|about|between|after|before|until|not|"
                      r"its|their|his|her|\w+ed|\w+ly)$")


def from_gloss(gloss):
    """Ways to write a gloss, the fullest first: its first clause (no example sentences),
    then that clause without its parenthesised remarks, then without a narrowing clause."""
    first = re.split(r'[;"]', gloss)[0].replace("`", "'")
    while first.count("(") > first.count(")"):
        first = first[: first.rindex("(")]
    first = first.strip(" ,:")
    bare = re.sub(r"\s*\([^()]*\)", "", first).strip(" ,")
    # Without a trailing clause that only narrows the meaning down ("a musical stringed
    # instrument with strings stretched over ..."), if what is left stands alone; the longest
    # such cut first.
    shorter = []
    for cue in reversed(list(NARROWING.finditer(bare))):
        head = bare[: cue.start()].strip(" ,")
        # A clause that already narrows would be cut in the middle ("a container that you fill").
        if re.search(r" (?:that|which|who|whose|where) ", head):
            continue
        # Fewer words name only a kind of thing (a conical shape, a measuring instrument).
        if len(head.split()) >= 4 and not DANGLING.search(head):
            shorter.append(head)
    # Two words or fewer say too little (loiter - be about).
    return [m for m in dict.fromkeys([first, bare] + shorter) if len(m.split()) >= 3]


def from_synonyms(headword, words, flagged, common):
    """A meaning made of up to three synonyms of the sense (abruptly - suddenly, short): only
    words at least as common as `common` says, and no other spelling of the headword."""
    picked = []
    for word in words:
        word = word.replace("_", " ")
        if word == headword or not word.islower() or word in flagged or word in picked or (
                len(word) < 3):
            continue
        if names_headword(headword, word) or not all(common(t) for t in tokens(word)):
            continue
        if difflib.SequenceMatcher(None, headword, word).ratio() >= 0.75:
            continue
        picked.append(word)
    return ", ".join(picked[:3]) if picked else None
