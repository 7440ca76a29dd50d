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

# A string of N copies of TEXT.
repeat() { printf "%${1}s" "" | sed "s/ /$2/g"; }

home=$work/registry/.wine
mkdir -p "$home/drive_c/Games" "$home/dosdevices"
ln -s ../drive_c "$home/dosdevices/c:"
registry_prefix() {  # FOLDER PARTS
  printf 'WINE REGISTRY Version 2\n\n[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\App Paths\\\\zovur.exe] 1\n"Path"="C:\\\\Games%s"\n' \
    "$(repeat "$2" '\\\\a')" >"$1/system.reg"
}
registry_prefix "$home" "$parts"
mkdir -p "$work/below"
cp -a "$home" "$work/below/.wine"
registry_prefix "$work/below/.wine" 16000

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

for case in registry below lutris steam; do
  start=$(date +%s.%N)
  HOME=$work/$case XDG_CONFIG_HOME='' XDG_DATA_HOME='' WINEPREFIX='' "$velquin" --list >/dev/null 2>&1 || true
  end=$(date +%s.%N)
  printf '%-9s %8.2f s\n' "$case" "$(echo "$end - $start" | bc)"
done
