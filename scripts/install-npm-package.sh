#!/usr/bin/env bash
# Installs npm packages a test needs into FOLDER (a folder of the build tree):
#   scripts/install-npm-package.sh FOLDER "WHO NEEDS THEM" NAME@VERSION [MORE@VERSION...]
# Does nothing when NAME is there at VERSION already. Fails (and the tests that need it skip,
# saying why) when npm is missing or the install fails.
set -euo pipefail

folder=${1:?usage: $0 FOLDER WHO NAME@VERSION...}
who=${2:?usage: $0 FOLDER WHO NAME@VERSION...}
shift 2
first=${1:?usage: $0 FOLDER WHO NAME@VERSION...}
name=${first%@*}
version=${first##*@}
tool=$(basename "${0%.sh}")

installed=$folder/node_modules/$name/package.json
if [[ -f $installed ]] && grep -q "\"version\": \"$version\"" "$installed"; then
    exit 0
fi
if ! command -v npm >/dev/null 2>&1; then
    echo "$tool: npm is missing; $who will be skipped" >&2
    exit 1
fi
mkdir -p "$folder"
log=$folder/install.log
if ! npm install --prefix "$folder" --no-audit --no-fund --no-save "$@" >"$log" 2>&1; then
    echo "$tool: npm install failed (see $log); $who will be skipped" >&2
    exit 1
fi
