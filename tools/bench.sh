#!/usr/bin/env bash
# Builds and runs the record-decoding benchmark; it prints figures only.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}

bash "$root/tools/build.sh"
"$build/native/tests/bench/record_decode_bench" "$@"
