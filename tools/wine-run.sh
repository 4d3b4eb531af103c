#!/usr/bin/env bash
# wine-run.sh --prefix <dir> [--version winxp|win7|win10|...] [--screen] -- <program.exe> [args]
# Runs one Windows test program in a prefix made by wine-prefix.sh, after
# setting the Windows version the prefix reports (the value winecfg -v sets).
# Programs run on the prefix's Xvfb screen; --screen marks a test that cannot
# do without one. Exits 77 (skipped) when the prefix cannot run here.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-common.sh"

prefix= version= screen=0
while [ $# -gt 0 ]; do
    case "$1" in
    --prefix) prefix=$2; shift 2 ;;
    --version) version=$2; shift 2 ;;
    --screen) screen=1; shift ;;
    --) shift; break ;;
    *) echo "wine-run.sh: unknown option $1" >&2; exit 2 ;;
    esac
done
[ $# -ge 1 ] && [ -n "$prefix" ] || { echo "usage: wine-run.sh --prefix <dir> [--version V] [--screen] -- <exe> [args]" >&2; exit 2; }
program=$1; shift

if [ -f "$prefix/.unavailable" ]; then
    echo "skipped: this machine cannot run a 32-bit Windows prefix"
    exit 77
fi
if [ ! -f "$prefix/.bits" ]; then
    echo "wine-run.sh: no test prefix at $prefix; run the tests with ctest from the build folder" >&2
    exit 1
fi
export WINEPREFIX=$prefix

# A 32-bit program needs the 32-bit loader, also in a 64-bit prefix (WOW64).
bits=64
if [ "$(od -An -tx1 -j"$(( $(od -An -tu4 -j60 -N4 "$program") + 4 ))" -N2 "$program" | tr -d ' ')" = 4c01 ]; then
    bits=32
fi
if [ "$bits" = 32 ] && ! wine32_usable; then
    echo "skipped: this machine cannot run 32-bit Windows programs"
    exit 77
fi
if [ -s "$prefix/.display" ]; then
    export DISPLAY=:$(cat "$prefix/.display")
elif [ "$screen" = 1 ]; then
    echo "wine-run.sh: the prefix has no screen" >&2
    exit 1
fi

# Tests that check what the prefix reports read what it was set to.
export SETUP_TEST_WINDOWS_VERSION=$version SETUP_TEST_PREFIX_BITS=$(cat "$prefix/.bits")
if [ -n "$version" ]; then
    # What `winecfg -v` writes. Set directly, a 64-bit prefix can also pose
    # as Windows 2000 or 32-bit XP, which winecfg refuses: an x64 machine
    # with a release that never ran on one, for the refusal paths.
    "$(wine_loader "$(cat "$prefix/.bits")")" reg add 'HKCU\Software\Wine' /v Version /d "$version" /f \
        </dev/null >/dev/null 2>&1 || { echo "wine-run.sh: cannot set Windows version $version" >&2; exit 1; }
fi

"$(wine_loader "$bits")" "$program" "$@"
