#!/usr/bin/env bash
# Makes, once, the Wine prefix that the lookup benchmark reads: a prefix as wineboot makes it
# (64-bit where Wine can, its system.reg about 3 MB) with the game entry written by Wine's own
# "reg add" in the 32-bit view, as the game's installer would. Prints the prefix's folder.
# Usage: make_lookup_prefix.sh [FOLDER]   (default /tmp/velquin-bench-prefix)
set -euo pipefail
prefix=${1:-/tmp/velquin-bench-prefix}
if [ ! -s "$prefix/system.reg" ] || ! grep -q 'DFTFD' "$prefix/system.reg"; then
  source "$(dirname "$0")/../scripts/wine_host.sh"
  export WINEPREFIX=$prefix WINEDEBUG=-all LANG=C.UTF-8 LC_ALL=C.UTF-8
  "$VELQUIN_WINE" wineboot -i </dev/null >/dev/null 2>&1
  "$VELQUIN_WINE" reg add 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\zovur.exe' \
    /v Path /t REG_SZ /d 'C:\Games\DFTFD' /reg:32 /f </dev/null >/dev/null 2>&1
  wineserver -k 2>/dev/null || true  # writes system.reg out
  wineserver -w 2>/dev/null || true
fi
grep -q 'DFTFD' "$prefix/system.reg" || { echo "no game entry in $prefix/system.reg" >&2; exit 1; }
echo "$prefix"
