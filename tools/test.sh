#!/usr/bin/env bash
# Installs what is missing, builds every sub-build and runs every test:
# native (with AddressSanitizer and UBSan) and Windows (under Wine).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}

bash "$root/tools/build.sh"
cd "$build"
ctest --output-on-failure "$@"
