#!/usr/bin/env bash
# Installs the Debian packages that building and running need (setup-deps.sh), or those and
# what the tests and CI need too (setup-deps.sh --test).
# Does nothing (and prints nothing) when they are all installed already.
set -euo pipefail

packages=(
    cmake g++ make ninja-build
    qt6-base-dev qt6-svg-dev qt6-qpa-plugins libqt6sql6-sqlite libcurl4-openssl-dev libxcb1-dev
    zlib1g-dev pkgconf libzip-dev libzstd-dev fonts-dejavu-core
)
if [[ ${1:-} == --test ]]; then
    packages+=(
        ccache libgtest-dev libbenchmark-dev
        xvfb xauth openbox xdotool x11-utils trayer
        python3-aiosmtpd socat clang-format dpkg-dev file desktop-file-utils stress-ng zstd
    )
elif [[ -n ${1:-} ]]; then
    echo "usage: $0 [--test]" >&2
    exit 2
fi

if ! command -v dpkg-query >/dev/null 2>&1; then
    echo "setup-deps: not a Debian system; install these packages yourself: ${packages[*]}" >&2
    exit 1
fi

# One dpkg-query call for all packages; unknown ones are simply absent from its output.
declare -A installed=()
while IFS=$'\t' read -r name status; do
    [[ $status == "install ok installed" ]] && installed[$name]=1
done < <(dpkg-query -W -f='${Package}\t${Status}\n' "${packages[@]}" 2>/dev/null || true)

missing=()
for p in "${packages[@]}"; do
    [[ -n ${installed[$p]:-} ]] || missing+=("$p")
done
((${#missing[@]} == 0)) && exit 0

install_cmd=(env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends
             -o DPkg::Lock::Timeout=300 "${missing[@]}")
update_cmd=(apt-get update -qq -o DPkg::Lock::Timeout=300)

if ((EUID == 0)); then
    as_root=()
elif command -v sudo >/dev/null 2>&1; then
    as_root=(sudo)
else
    echo "setup-deps: missing packages: ${missing[*]}" >&2
    echo "setup-deps: run as root:" >&2
    echo "  apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends ${missing[*]}" >&2
    exit 1
fi

echo "setup-deps: installing ${missing[*]}" >&2

# apt and dpkg chatter goes to a log that is shown only when a step fails; errors (stderr) always show.
log=$(mktemp "${TMPDIR:-/tmp}/setup-deps.XXXXXX")
trap 'rm -f "$log"' EXIT
run_quiet() {
    # (The one debconf notice about apt-utils is harmless and dropped.)
    if ! "${as_root[@]}" "$@" >"$log" 2> >(grep -v '^debconf: delaying package configuration' >&2); then
        cat "$log" >&2
        echo "setup-deps: failed: $*" >&2
        exit 1
    fi
}
run_quiet "${update_cmd[@]}"
run_quiet "${install_cmd[@]}"
