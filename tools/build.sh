#!/usr/bin/env bash
# Installs what is missing, then configures and builds every sub-build into
# build/ (or $BUILD_DIR). The other commands start with this.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}

bash "$root/tools/setup.sh"
cmake -S "$root" -B "$build" -G Ninja >/dev/null
cmake --build "$build"
