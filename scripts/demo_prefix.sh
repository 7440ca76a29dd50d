#!/usr/bin/env bash
# Makes (once) a throwaway Wine prefix with the game's registry entry pointing at a demo game
# folder that holds a demo plyr.sav. Prints the prefix's path.
# Usage: demo_prefix.sh PREFIX MAKE_DEMO_SAVE_TOOL
set -euo pipefail
prefix=$1
make_demo_save=$2

source "$(dirname "$0")/wine_prefix.sh"
export LANG=${LANG:-C.UTF-8}
# A demo prefix left by an earlier run may not suit this host's Wine: one made before wine32
# was installed has no 32-bit Windows in it, and a 32-bit one cannot run under wine64 alone.
# It holds nothing but the demo game, so it is made afresh.
if [ -f "$prefix/system.reg" ] && [ -f "$prefix/drive_c/Games/DF-TFD/plyr.sav" ]; then
  arch=$(sed -n 's/^#arch=//p' "$prefix/system.reg" | head -1)
  if { [ "$VELQUIN_I386" = yes ] && [ "$arch" = win64 ] && [ ! -f "$prefix/drive_c/windows/syswow64/kernel32.dll" ]; } ||
    { [ "$VELQUIN_I386" = no ] && [ "$arch" != win64 ]; }; then
    echo "The demo prefix $prefix does not suit this host's Wine: making it afresh." >&2
    rm -rf "$prefix"
  fi
fi
make_wine_prefix "$prefix" 'C:\Games\DF-TFD'
mkdir -p "$prefix/drive_c/Games/DF-TFD"
"$make_demo_save" "$prefix/drive_c/Games/DF-TFD" >&2
echo "$prefix"
