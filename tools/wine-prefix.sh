#!/usr/bin/env bash
# wine-prefix.sh create|remove 32|64 <dir>
# Makes (or removes) the throwaway Wine prefix that one test run shares, and
# keeps its wineserver running in between so each test starts fast. Each
# prefix gets an Xvfb screen of its own, on a free display, from the start:
# Wine's desktop process picks its display driver once, when the prefix
# boots, and every window of every later program lives on that desktop.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-common.sh"

action=$1 bits=$2 prefix=$3
export WINEPREFIX=$prefix

case "$action" in
create)
    [ -d "$prefix" ] && "$0" remove "$bits" "$prefix"
    mkdir -p "$prefix"
    if [ "$bits" = 32 ] && ! wine32_usable; then
        echo "32-bit Wine cannot run on this machine (the kernel runs no 32-bit programs);"
        echo "the tests that need a 32-bit Windows will be skipped."
        echo unavailable > "$prefix/.unavailable"
        exit 0
    fi
    if [ "$bits" = 32 ]; then export WINEARCH=win32; else export WINEARCH=win64; fi
    Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3>"$prefix/.display" </dev/null >/dev/null 2>&1 &
    echo $! > "$prefix/.xvfb"
    for _ in $(seq 100); do
        [ -s "$prefix/.display" ] && break
        sleep 0.1
    done
    [ -s "$prefix/.display" ] || { echo "Xvfb did not start" >&2; exit 1; }
    export DISPLAY=:$(cat "$prefix/.display")
    echo "$bits" > "$prefix/.bits"
    # A persistent server keeps Wine's own services running between tests.
    # Everything started here is detached from our output: ctest waits until
    # every holder of a test's output has ended.
    "$wineserver_bin" -p </dev/null >/dev/null 2>&1
    "$(wine_loader "$bits")" wineboot -i </dev/null >"$prefix/.wineboot.log" 2>&1 || {
        cat "$prefix/.wineboot.log"
        exit 1
    }
    # The keys a Windows installation has and Wine's default prefix lacks.
    fixture=$(cd "$here/.." && pwd)/tests/fixtures/windows_keys.reg
    "$(wine_loader "$bits")" regedit /S "Z:${fixture//\//\\}" </dev/null >/dev/null 2>&1 || {
        echo "cannot import $fixture" >&2
        exit 1
    }
    echo "Wine prefix $prefix ($WINEARCH) is ready"
    ;;
remove)
    if [ -f "$prefix/.bits" ]; then
        "$wineserver_bin" -k 2>/dev/null
        "$wineserver_bin" -w 2>/dev/null
    fi
    [ -f "$prefix/.xvfb" ] && kill "$(cat "$prefix/.xvfb")" 2>/dev/null
    rm -rf "$prefix"
    ;;
*)
    echo "usage: wine-prefix.sh create|remove 32|64 <dir>" >&2
    exit 2
    ;;
esac
