#!/usr/bin/env bash
# wine-run.sh --prefix <dir> [--version winxp|win7|win10|...] [--screen] -- <program.exe> [args]
# Runs one Windows test program in a prefix made by wine-prefix.sh, after
# setting the Windows version the prefix reports. --screen gives it an Xvfb
# display of its own. Exits 77 (skipped) when the prefix cannot run here.
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
# A 64-bit prefix knows Windows XP only as XP x64.
[ "$version" = winxp ] && [ "$(cat "$prefix/.bits")" = 64 ] && version=winxp64
if [ -n "$version" ]; then
    "$(wine_loader "$(cat "$prefix/.bits")")" winecfg -v "$version" </dev/null >/dev/null 2>&1 ||
        { echo "wine-run.sh: winecfg -v $version failed" >&2; exit 1; }
fi

xvfb_pid=
cleanup() { [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null; }
trap cleanup EXIT
if [ "$screen" = 1 ]; then
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 9 -nolisten tcp -screen 0 1024x768x24 9>"$fifo" >/dev/null 2>&1 &
    xvfb_pid=$!
    read -r display <"$fifo"
    rm -f "$fifo"
    export DISPLAY=:$display
else
    unset DISPLAY
fi

"$(wine_loader "$bits")" "$program" "$@"
