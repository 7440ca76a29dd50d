#!/usr/bin/env bash
# Makes, once, the Wine prefix that the lookup benchmark reads: a prefix as wineboot makes it
# (64-bit where Wine can, its system.reg about 3 MB) with the game entry as the game's installer
# leaves it (scripts/wine_prefix.sh). Prints the prefix's folder.
# Usage: make_lookup_prefix.sh [FOLDER]   (default /tmp/velquin-bench-prefix)
set -euo pipefail
prefix=${1:-/tmp/velquin-bench-prefix}
if [ ! -s "$prefix/system.reg" ] || ! grep -q 'DFTFD' "$prefix/system.reg"; then
  source "$(dirname "$0")/../scripts/wine_prefix.sh"
  export LANG=C.UTF-8 LC_ALL=C.UTF-8
  make_wine_prefix "$prefix" 'C:\Games\DFTFD'
fi
grep -q 'DFTFD' "$prefix/system.reg" || { echo "no game entry in $prefix/system.reg" >&2; exit 1; }
echo "$prefix"
