#!/bin/sh
# Installs the Debian packages generate_modules.py reads its words, meanings and translations
# from. Building Veltrano and checking the shipped sets need none of them.
set -eu
packages="wordnet-base scowl trans-de-en lttoolbox apertium-eng-spa apertium-fr-es
apertium-spa-ita apertium-es-pt dict-freedict-eng-deu dict-freedict-eng-fra
dict-freedict-eng-spa dict-freedict-eng-ita dict-freedict-eng-por dict-freedict-eng-pol
dict-freedict-eng-rus dict-freedict-fra-eng dict-freedict-spa-eng dict-freedict-ita-eng
dict-freedict-por-eng dict-freedict-pol-eng"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update
# shellcheck disable=SC2086 # one word per package
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $packages
