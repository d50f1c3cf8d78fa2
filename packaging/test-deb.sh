#!/usr/bin/env bash
# Builds the Debian package in a build folder, installs it, checks the installed layout, starts
# the installed program under Xvfb with openbox (module 7, Start, the strip appears, logs go to
# the user's data folder), and removes the package again.
#   packaging/test-deb.sh BUILD_DIR
# Needs root (or sudo) for apt-get. The program runs as an unprivileged user (nobody when this
# runs as root): root may write into /usr/lib/veltrano, an ordinary user may not.
set -euo pipefail

(($# == 1)) || { echo "usage: $0 BUILD_DIR" >&2; exit 2; }
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(dirname "$here")
prefix=/usr
program_dir=$prefix/lib/veltrano
desktop=$prefix/share/applications/veltrano.desktop
icon=$prefix/share/icons/hicolor/scalable/apps/veltrano.svg

as_root=()
((EUID == 0)) || as_root=(sudo)
apt=("${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -y -q -o DPkg::Lock::Timeout=300)

fail() { echo "test-deb: FAILED: $*" >&2; exit 1; }
installed() { dpkg-query -W -f='${Status}' veltrano 2>/dev/null | grep -q 'install ok installed'; }

work=$(mktemp -d /tmp/veltrano-deb.XXXXXX)
temporary_module=
# (An emptied data/ goes too; dpkg does not mind a missing folder of its own on removal.)
drop_temporary_module() {
    [[ -n $temporary_module ]] || return 0
    "${as_root[@]}" rm -f "$temporary_module"
    "${as_root[@]}" rmdir --ignore-fail-on-non-empty "$program_dir/data"
    temporary_module=
}
cleanup() {
    drop_temporary_module
    if installed; then "${apt[@]}" remove --purge veltrano >/dev/null || true; fi
    # What a failed run left in the program folder (a stray log) would fail the next run too.
    if [[ -e $program_dir ]]; then
        echo "test-deb: removing leftovers: $(find "$program_dir" | tr "\n" " ")" >&2
        "${as_root[@]}" rm -rf "$program_dir"
    fi
    "${as_root[@]}" rm -rf "$work"
}
trap cleanup EXIT

# --- The package -----------------------------------------------------------------------------
rm -f "$build"/veltrano_*.deb
(cd "$build" && cpack -G DEB) || fail "cpack"
debs=("$build"/veltrano_*.deb)
[[ ${#debs[@]} == 1 && -f ${debs[0]} ]] || fail "cpack made no single veltrano_*.deb"
deb=${debs[0]}
[[ $(dpkg-deb -f "$deb" Package) == veltrano ]] || fail "package name"
[[ $(dpkg-deb -f "$deb" Section) == education ]] || fail "section"
[[ -n $(dpkg-deb -f "$deb" Depends) ]] || fail "no dependencies computed (dpkg-shlibdeps)"
dpkg-deb -f "$deb" Depends | grep -q fonts-dejavu-core || fail "no font with Cyrillic among the dependencies"

if installed; then
    echo "test-deb: removing an earlier installed veltrano" >&2
    "${apt[@]}" remove --purge veltrano >/dev/null
fi
(cd "$build" && "${apt[@]}" install "./$(basename "$deb")") || fail "apt-get install"

# --- The installed layout --------------------------------------------------------------------
for f in "$program_dir/veltrano" "$program_dir/libtrapwell.so" "$desktop" "$icon"; do
    [[ -f $f ]] || fail "missing $f"
done
[[ $(readlink "$prefix/bin/veltrano") == ../lib/veltrano/veltrano ]] || fail "$prefix/bin/veltrano is not a relative link"
[[ $(readlink -f "$(command -v veltrano)") == "$program_dir/veltrano" ]] || fail "veltrano on PATH is not $program_dir/veltrano"
cmp -s "$icon" "$source_dir/veltrano/mainwindow/images/logo.svg" || fail "icon differs from logo.svg"
if readelf -d "$program_dir/veltrano" "$program_dir/libtrapwell.so" | grep -E 'RPATH|RUNPATH'; then
    fail "installed binaries carry an RPATH"
fi
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate"
fi
# Nothing but the program, its component, its data, the link, the desktop entry and the icon.
unexpected=$(dpkg -L veltrano | while read -r f; do
    [[ -d $f && ! -L $f ]] && continue
    case $f in
    "$program_dir/veltrano" | "$program_dir/libtrapwell.so" | "$program_dir"/data/*) ;;
    "$program_dir"/data-??/*) ;;
    "$prefix/bin/veltrano" | "$desktop" | "$icon") ;;
    /usr/share/doc/veltrano/*) ;;
    *) echo "$f" ;;
    esac
done)
[[ -z $unexpected ]] || fail "unexpected files installed: $unexpected"
# Every file of the source tree's word sets (data/<language>) is installed beside the program
# (data/ for English, data-<language>/ for the others).
for language in en de fr es it pt pl ru; do
    set=data-$language
    [[ $language == en ]] && set=data
    if [[ -d $source_dir/data/$language ]]; then
        diff <(cd "$source_dir/data/$language" && find . -type f | sort) \
             <(cd "$program_dir/$set" && find . -type f | sort) || fail "$set/ not installed completely"
    fi
done
if [[ ! -f $program_dir/data/7.txt ]]; then
    # Only while the source tree has no modules yet: a temporary module for this run.
    echo "test-deb: no data/7.txt in the package; using a temporary one for this run" >&2
    temporary_module=$program_dir/data/7.txt
    "${as_root[@]}" mkdir -p "$program_dir/data"
    printf 'delta - first\r\ndelta - second\r\n' | "${as_root[@]}" tee "$temporary_module" >/dev/null
fi

# --- The installed program, as a user starts it ------------------------------------------------
if ((EUID == 0)); then
    uid=$(id -u nobody) gid=$(id -g nobody)
else
    uid=$(id -u) gid=$(id -g)
fi
chmod 0755 "$work"
mkdir -m 0700 "$work/home" "$work/config" "$work/share" "$work/cache" "$work/runtime"
{
    echo '[Check%20Box%20Selection]'
    for n in $(seq 4 25); do echo "Check%20Box%20$n=$((n == 7))"; done
} >"$work/config/Veltrano Rudoz Arirera.ini"
((EUID != 0)) || chown -R "$uid:$gid" "$work/home" "$work/config" "$work/share" "$work/cache" "$work/runtime"

timeout 180 "$source_dir/veltrano/tests/x11/run-with-wm.sh" \
    "$here/test-deb-x11.sh" "$work" "$uid" "$gid" "$program_dir" || fail "the installed program"

drop_temporary_module

# --- Removal ---------------------------------------------------------------------------------
"${apt[@]}" remove --purge veltrano >/dev/null || fail "apt-get remove"
[[ ! -e $program_dir ]] || fail "$program_dir is still there"
[[ ! -e $desktop ]] || fail "$desktop is still there"
[[ ! -L $prefix/bin/veltrano ]] || fail "$prefix/bin/veltrano is still there"
echo "test-deb: ok"
