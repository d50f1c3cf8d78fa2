"""Spanish translations from Debian's apertium-eng-spa: its English analyser
(eng-spa.automorf.bin) gives a word's lemmas and tags, its bilingual dictionary
(eng-spa.autobil.bin) the Spanish lemmas for them. Both run through lt-proc (lttoolbox).
French, Italian and Portuguese from those Spanish lemmas, through the bilingual dictionaries
of apertium-fr-es, apertium-spa-ita and apertium-es-pt.
"""

import re
import subprocess

APERTIUM = "/usr/share/apertium"
FOLDER = APERTIUM + "/apertium-eng-spa"
# Language -> the bilingual dictionary from Spanish into it.
FROM_SPANISH = {"fr": "apertium-fr-es/es-fr.autobil.bin",
                "it": "apertium-spa-ita/spa-ita.autobil.bin",
                "pt": "apertium-es-pt/es-pt.autobil.bin"}
# The tags a Spanish lemma is looked up with, by WordNet part of speech: the dictionaries
# file nouns and adjectives by gender and number, verbs by form.
_SPANISH_TAGS = {"n": ["<n><m><sg>", "<n><f><sg>", "<n><mf><sg>"],
                 "a": ["<adj><m><sg>", "<adj><mf><sg>"], "v": ["<vblex><inf>"], "r": ["<adv>"]}
# Apertium's parts of speech -> WordNet's.
_POS = {"n": "n", "vblex": "v", "adj": "a", "adv": "r"}


def _run(program, text):
    return subprocess.run(["lt-proc"] + program, input=text, capture_output=True, text=True,
                          check=True).stdout


def translations(words):
    """{(word, WordNet part of speech): [Spanish lemmas]} for the words the dictionary
    knows, the default translation first."""
    analyses = _run([FOLDER + "/eng-spa.automorf.bin"], "".join(w + "\n\n" for w in words))
    queries = []
    for word, found in re.findall(r"\^([^/$]*)/([^$]*)\$", analyses):
        for analysis in found.split("/"):
            lemma, _, tags = analysis.partition("<")
            pos = tags.split(">")[0]
            if lemma == word and pos in _POS:
                queries.append((word, _POS[pos], "<" + tags))
    queries = list(dict.fromkeys(queries))
    answers = _run(["-b", FOLDER + "/eng-spa.autobil.bin"],
                   "".join("^%s%s$\n" % (w, t) for w, _, t in queries))
    result = {}
    for (word, pos, _), line in zip(queries, answers.split("\n")):
        outputs = line.strip("^$").split("/")[1:]
        for output in outputs:
            # Multiword lemmas keep their invariable part after "#": dar<vblex># vuelta.
            lemma = re.sub(r"<[^>]*>", "", output).replace("#", "").strip()
            if lemma and not lemma.startswith("@"):
                found = result.setdefault((word, pos), [])
                if lemma.replace("_", " ") not in found:
                    found.append(lemma.replace("_", " "))
    return result


def from_spanish(code, lemmas):
    """{(Spanish lemma, WordNet part of speech): [lemmas in language `code`]} for the
    (lemma, part of speech) pairs given: only translations of that very part of speech, in
    the dictionary's order. Multiword lemmas are not looked up."""
    queries = [(lemma, pos, tags) for lemma, pos in sorted(set(lemmas))
               if re.fullmatch(r"[^\W\d_]+", lemma) for tags in _SPANISH_TAGS.get(pos, [])]
    answers = _run(["-b", "%s/%s" % (APERTIUM, FROM_SPANISH[code])],
                   "".join("^%s%s$\n" % (lemma, tags) for lemma, _, tags in queries))
    result = {}
    for (lemma, pos, tags), line in zip(queries, answers.split("\n")):
        for output in line.strip("^$").split("/")[1:]:
            found = re.match(r"([^<@#]+)(<[^>]*>)", output)
            # A lemma the dictionary lacks comes back as "@lemma".
            if found and found[2] == tags[: tags.index(">") + 1]:
                translated = result.setdefault((lemma, pos), [])
                if found[1].replace("_", " ") not in translated:
                    translated.append(found[1].replace("_", " "))
    return result
