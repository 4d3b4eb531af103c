#!/usr/bin/env bash
# Installs everything the build and the tests need on a Debian 12 machine.
# Safe to run again: it only touches apt when a package is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  mingw-w64 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  libz-mingw-w64-dev zlib1g-dev
  googletest libbenchmark-dev
  wine wine32:i386 wine64
  xvfb x11-utils imagemagick fonts-liberation
  python3 python3-pefile unicode-data libxml2-utils
)

need_i386=0
dpkg --print-foreign-architectures | grep -qx i386 || need_i386=1

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$p")
done

[ "$need_i386" = 0 ] && [ ${#missing[@]} = 0 ] && exit 0

if [ "$(id -u)" != 0 ]; then
  echo "setup: missing packages (${missing[*]}); run this script as root" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
[ "$need_i386" = 1 ] && dpkg --add-architecture i386
echo "setup: installing ${missing[*]}"
apt-get update -qq >/dev/null
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
echo "setup: done"
