#!/usr/bin/env bash
# Builds and runs the record-decoding benchmark; it prints figures only.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}

bash "$root/tools/setup.sh"
cmake -S "$root" -B "$build" -G Ninja >/dev/null
cmake --build "$build"
"$build/native/tests/bench/record_decode_bench" "$@"
