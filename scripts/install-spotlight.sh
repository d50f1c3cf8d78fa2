#!/usr/bin/env bash
# Installs the error collector protocol's development sidecar (Spotlight), a real envelope
# receiver the delivery tests send reports to, into FOLDER (a folder of the build tree).
#   scripts/install-spotlight.sh FOLDER
# Does nothing when that version is there already. Fails (and the tests that need it skip,
# saying why) when npm is missing or the install fails.
set -euo pipefail

folder=${1:?usage: $0 FOLDER}
version=4.11.8
# The sidecar needs this hono beside it; newer ones break its server.
hono=4.12.25

installed=$folder/node_modules/@spotlightjs/spotlight/package.json
if [[ -f $installed ]] && grep -q "\"version\": \"$version\"" "$installed"; then
    exit 0
fi
if ! command -v npm >/dev/null 2>&1; then
    echo "install-spotlight: npm is missing; the collector tests will be skipped" >&2
    exit 1
fi
mkdir -p "$folder"
log=$folder/install.log
if ! npm install --prefix "$folder" --no-audit --no-fund --no-save \
        "@spotlightjs/spotlight@$version" "hono@$hono" >"$log" 2>&1; then
    echo "install-spotlight: npm install failed (see $log); the collector tests will be skipped" >&2
    exit 1
fi
