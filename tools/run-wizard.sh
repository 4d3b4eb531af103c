#!/usr/bin/env bash
# Installs what is missing, builds setup.exe and opens it under Wine in a
# prefix of its own (build/wizard-prefix), never in ~/.wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
. "$root/tools/wine-common.sh"

bash "$root/tools/build.sh"
program=$build/win32/engine/setup.exe
echo "Built $program"
echo "The wizard's pages are not built yet: the program derives its record key and ends."

if ! wine32_usable; then
    echo "This machine cannot run 32-bit Windows programs under Wine (its kernel runs no 32-bit"
    echo "programs), so setup.exe is not started here. Copy it to Windows, or run this on a"
    echo "machine whose kernel has 32-bit support."
    exit 0
fi
if [ -z "${DISPLAY:-}" ]; then
    echo "No display (DISPLAY is unset): the wizard needs one to open its window." >&2
    exit 1
fi
export WINEPREFIX=$build/wizard-prefix
"$wine32_loader" "$program"
