"""What makes a meaning teach, and the ways to write one from a WordNet gloss.

The same rules are checked on the shipped files by veltrano/tests/data/modules_test.cpp;
change both together.
"""

import re

MAX_LENGTH = 48
MEDIAN_LENGTH = 32

# Endings stripped, the longest first and again and again while four letters stay, to get a
# word's stem: carefully -> care, abandonment -> abandon, happiness -> happ, happy -> happ.
SUFFIXES = sorted(
    "ations ation ments ment ness ities ity ically ical ally fully ful less ously ous ively "
    "ive ings ing edly ed ers er est ies ily ly ism ist ize ise able ible al ic es s y e i".split(),
    key=len,
    reverse=True,
)

# Meanings that only point back at a related word instead of saying what the word means.
EMPTY_FORMS = [
    re.compile(r"\bin an? \S+ manner\b"),
    re.compile(r"\bof or relating to\b"),
    re.compile(r"\bthe act of \S+ing\b"),
]


def stem(word):
    word = word.lower()
    changed = True
    while changed:
        changed = False
        for suffix in SUFFIXES:
            if word.endswith(suffix) and len(word) - len(suffix) >= 4:
                word = word[: -len(suffix)]
                changed = True
                break
    return word


def tokens(text):
    """The words of a text in any script, lower case; hyphens and apostrophes split."""
    return re.findall(r"[^\W\d_]+", text.lower())


def names_headword(headword, meaning):
    """Whether the meaning holds the headword, a part of it (well-off) or a word of the same
    stem (carefully: care, careful)."""
    heads = {headword.lower()} | {p for p in tokens(headword) if len(p) >= 3}
    stems = {stem(h) for h in heads}
    for token in tokens(meaning):
        if token in heads or stem(token) in stems:
            return True
        if any(len(s) >= 4 and token.startswith(s) for s in stems):
            return True
    return False


def empty_form(meaning):
    return any(form.search(meaning.lower()) for form in EMPTY_FORMS)


def problem(headword, meaning):
    """Why the meaning may not be shipped with the headword, or None."""
    if names_headword(headword, meaning):
        return "names the headword"
    if empty_form(meaning):
        return "empty form"
    if len(meaning) > MAX_LENGTH:
        return "too long"
    return None


def from_gloss(gloss):
    """Ways to write a gloss, the fullest first: its first clause (no example sentences),
    then that clause without its parenthesised remarks, then its part before "or"/","
    when the gloss lists alternatives."""
    first = re.split(r'[;"]', gloss)[0].replace("`", "'")
    while first.count("(") > first.count(")"):
        first = first[: first.rindex("(")]
    first = first.strip(" ,:")
    bare = re.sub(r"\s*\([^()]*\)", "", first).strip(" ,")
    shorter = [re.split(r",| or ", bare)[0].strip()]
    # Without a trailing clause that only narrows the meaning down ("music of southern
    # Louisiana that combines ..."), if enough is left to stand alone.
    head = re.split(r" (?:that|which|whose|having|used|especially|usually|typically) ", bare)[0]
    if len(head.split()) >= 3 and not re.search(r"\b(a|an|the|of|to|in|for|and|with)$", head):
        shorter.append(head.strip(" ,"))
    shorter = [s for s in shorter if len(s.split()) >= 2]
    return [m for m in dict.fromkeys([first, bare] + shorter) if m]


def from_synonyms(headword, words, flagged):
    """A meaning made of up to three synonyms of the sense (abruptly - suddenly, short)."""
    picked = []
    for word in words:
        word = word.replace("_", " ")
        if word == headword or not word.islower() or word in flagged:
            continue
        if names_headword(headword, word) or word in picked:
            continue
        picked.append(word)
    return ", ".join(picked[:3]) if picked else None
