#!/usr/bin/env bash
# Installs what is missing, builds every sub-build and runs every test:
# native (with AddressSanitizer and UBSan) and Windows (under Wine). The last
# line counts them: "N passed, N failed, N skipped".
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}

bash "$root/tools/build.sh"
cd "$build"
log=$(mktemp)
trap 'rm -f "$log"' EXIT
status=0
ctest --output-on-failure "$@" 2>&1 | tee "$log" || status=$?

summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1 || true)
if [ -n "$summary" ]; then
    failed=$(echo "$summary" | sed -E 's/.* ([0-9]+) tests? failed.*/\1/')
    total=$(echo "$summary" | sed -E 's/.* out of ([0-9]+)$/\1/')
    skipped=$(grep -c '(Skipped)$' "$log" || true)
    echo
    echo "$((total - failed - skipped)) passed, $failed failed, $skipped skipped"
fi
exit "$status"
