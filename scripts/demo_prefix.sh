#!/usr/bin/env bash
# Makes (once) a throwaway Wine prefix with the game's registry entry pointing at a demo game
# folder that holds a demo plyr.sav. Prints the prefix's path.
# Usage: demo_prefix.sh PREFIX MAKE_DEMO_SAVE_TOOL
set -euo pipefail
prefix=$1
make_demo_save=$2
game_folder='C:\Games\DF-TFD'

source "$(dirname "$0")/wine_host.sh"
export WINEPREFIX="$prefix" WINEDEBUG=-all LANG=${LANG:-C.UTF-8}
if [ ! -f "$prefix/system.reg" ]; then
  "$VELQUIN_WINE" wineboot -i >/dev/null 2>&1
fi
mkdir -p "$prefix/drive_c/Games/DF-TFD"
"$make_demo_save" "$prefix/drive_c/Games/DF-TFD" >&2
"$VELQUIN_WINE" reg add 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\zovur.exe' \
  /v Path /t REG_SZ /d "$game_folder" /f /reg:32 >/dev/null
wineserver -w
echo "$prefix"
