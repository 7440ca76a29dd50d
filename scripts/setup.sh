#!/usr/bin/env bash
# Installs, from Debian's packages only, what building, running and testing need.
# Idempotent: installs nothing when everything is there.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang-format
  libgtest-dev googletest libbenchmark-dev
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686
  wine wine64 wine32:i386
  xvfb xauth xdotool x11-utils imagemagick
  e2fsprogs strace bc
)

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  as_root dpkg --add-architecture i386
  as_root apt-get update -q
fi

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  as_root apt-get update -q
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
fi
