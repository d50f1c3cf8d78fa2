"""Spanish translations from Debian's apertium-eng-spa: its English analyser
(eng-spa.automorf.bin) gives a word's lemmas and tags, its bilingual dictionary
(eng-spa.autobil.bin) the Spanish lemmas for them. Both run through lt-proc (lttoolbox).
"""

import re
import subprocess

FOLDER = "/usr/share/apertium/apertium-eng-spa"
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
