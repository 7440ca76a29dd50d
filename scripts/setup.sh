#!/usr/bin/env bash
# Installs, from Debian's packages only, what building, running and testing need.
# Idempotent: installs nothing when everything is there. Where this machine runs no 32-bit
# code, the i386 architecture and 32-bit Wine are left out: they could not start.
# Usage: setup.sh [--fuzz]   (--fuzz adds clang and libFuzzer for scripts/fuzz.sh)
set -euo pipefail
source "$(dirname "$0")/wine_host.sh"

packages=(
  cmake ninja-build g++ clang-format
  libgtest-dev googletest libbenchmark-dev
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine64 gettext
  qt6-base-dev libx11-dev libyaml-cpp-dev desktop-file-utils appstream
  xvfb xauth xdotool x11-utils imagemagick icoutils
  e2fsprogs strace locales bindfs fuse3 btrfs-progs
  dpkg-dev lintian unzip
  qt6-wayland patchelf debootstrap
)
[ "${1:-}" = --fuzz ] && packages+=(clang libclang-rt-14-dev)

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

if [ "$VELQUIN_I386" = yes ]; then
  packages+=(wine32:i386)
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
    as_root apt-get update -q
  fi
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
