#!/usr/bin/env bash
# Installs the error collector protocol's development sidecar (Spotlight), a real envelope
# receiver the delivery tests send reports to, into FOLDER (a folder of the build tree).
#   scripts/install-spotlight.sh FOLDER
# The sidecar needs hono 4.12.25 beside it; newer ones break its server.
exec "$(dirname "$0")/install-npm-package.sh" "${1:?usage: $0 FOLDER}" "the collector tests" \
    @spotlightjs/spotlight@4.11.8 hono@4.12.25
