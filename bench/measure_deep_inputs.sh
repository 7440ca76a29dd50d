#!/usr/bin/env bash
# How long `velquin --list` takes over inputs that grow without bound, each in a throwaway
# HOME of its own:
#  registry  a prefix whose game folder in system.reg has PARTS parts ("C:\Games\a\a\...")
#  below     the same, with as many parts as Windows takes (16,000 one-letter folders)
#  lutris    a Lutris game that names no prefix, its exe PARTS folders below the prefix
#  steam     a libraryfolders.vdf naming one library REPEATS times (about 1 MB)
# Prints seconds per case as `time` sees them.
# Usage: measure_deep_inputs.sh VELQUIN_EXE [PARTS [REPEATS]]   (20000 and 27000 by default)
set -euo pipefail
velquin=$(realpath "$1")
parts=${2:-20000}
repeats=${3:-27000}
work=$(mktemp -d /tmp/vqd.XXXXXX)  # short: the library list must stay below 1 MB
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/../scripts/wine_prefix.sh"  # write_system_reg

# A string of N copies of TEXT.
repeat() { printf "%${1}s" "" | sed "s/ /$2/g"; }

home=$work/registry/.wine
mkdir -p "$home/drive_c/Games" "$home/dosdevices"
ln -s ../drive_c "$home/dosdevices/c:"
write_system_reg "$home" "C:\\Games$(repeat "$parts" '\\a')"
mkdir -p "$work/below"
cp -a "$home" "$work/below/.wine"
write_system_reg "$work/below/.wine" "C:\\Games$(repeat 16000 '\\a')"

prefix=$work/lutris/Games/df
mkdir -p "$prefix/drive_c" "$work/lutris/.local/share/lutris/games"
echo 'WINE REGISTRY Version 2' >"$prefix/system.reg"
printf 'game:\n  exe: %s/drive_c%s/zovur.exe\n' "$prefix" "$(repeat "$parts" '\/a')" \
  >"$work/lutris/.local/share/lutris/games/df.yml"

library=$work/steam/lib
mkdir -p "$library/SteamApps/compatdata/1/pfx" "$work/steam/.local/share/Steam/steamapps"
{
  echo '"libraryfolders" {'
  for _ in $(seq "$repeats"); do echo "\"1\" \"$library\""; done
  echo '}'
} >"$work/steam/.local/share/Steam/steamapps/libraryfolders.vdf"

TIMEFORMAT=%R
for case in registry below lutris steam; do
  seconds=$({ time HOME=$work/$case XDG_CONFIG_HOME='' XDG_DATA_HOME='' WINEPREFIX='' "$velquin" --list \
    >/dev/null 2>&1; } 2>&1) || true
  printf '%-9s %8.2f s\n' "$case" "$seconds"
done
