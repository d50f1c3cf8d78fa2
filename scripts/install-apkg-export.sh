#!/usr/bin/env bash
# Installs anki-apkg-export, a deck writer of others that the word import tests read decks of,
# into FOLDER (a folder of the build tree).
#   scripts/install-apkg-export.sh FOLDER
# Does nothing when that version is there already. Fails (and the tests that need it skip,
# saying why) when npm is missing or the install fails.
set -euo pipefail

folder=${1:?usage: $0 FOLDER}
version=4.0.3

installed=$folder/node_modules/anki-apkg-export/package.json
if [[ -f $installed ]] && grep -q "\"version\": \"$version\"" "$installed"; then
    exit 0
fi
if ! command -v npm >/dev/null 2>&1; then
    echo "install-apkg-export: npm is missing; the word import tests of its decks will be skipped" >&2
    exit 1
fi
mkdir -p "$folder"
log=$folder/install.log
if ! npm install --prefix "$folder" --no-audit --no-fund --no-save \
        "anki-apkg-export@$version" >"$log" 2>&1; then
    echo "install-apkg-export: npm install failed (see $log); the word import tests of its decks will be skipped" >&2
    exit 1
fi
