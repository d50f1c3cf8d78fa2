#!/usr/bin/env bash
# Installs anki-apkg-export, a deck writer of others that the word import tests read decks of,
# into FOLDER (a folder of the build tree).
#   scripts/install-apkg-export.sh FOLDER
exec "$(dirname "$0")/install-npm-package.sh" "${1:?usage: $0 FOLDER}" \
    "the word import tests of its decks" anki-apkg-export@4.0.3
