#!/usr/bin/env bash
# Game discovery over prefixes that real Wine made: a throwaway HOME with a Proton prefix laid
# out as Steam lays it and a Lutris game's prefix, both holding the game's registry entry and
# a plyr.sav, the Lutris one written later. Then the discovery tests' real-prefix case runs
# over that HOME and passes only when it really ran.
# Usage: run_real_prefixes.sh [BUILD_DIR]   (build/linux-test by default)
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build/linux-test}
tests="$build/discovery/velquin_real_prefix_tests"
[ -x "$tests" ] || { echo "no $tests: build the linux-test preset first" >&2; exit 1; }
source tests/wine_test_prefix.sh  # VELQUIN_WINE and run_gtest

home=$(mktemp -d /tmp/velquin-real-prefixes.XXXXXX)
steam_prefix="$home/.local/share/Steam/steamapps/compatdata/123/pfx"
lutris_prefix="$home/Games/df-tfd"
cleanup() {
  for prefix in "$steam_prefix" "$lutris_prefix"; do WINEPREFIX=$prefix wineserver -k 2>/dev/null || true; done
  rm -rf "$home"
}
trap cleanup EXIT
export HOME=$home WINEDEBUG=-all

# One prefix, as Wine makes it, with the game's entry in the 32-bit view and a plyr.sav
# last written at the given time.
make_game_prefix() {
  local prefix=$1 written=$2
  mkdir -p "$(dirname "$prefix")"
  echo "wineboot -i in $prefix"
  WINEPREFIX=$prefix "$VELQUIN_WINE" wineboot -i >/dev/null 2>&1
  WINEPREFIX=$prefix "$VELQUIN_WINE" reg add \
    'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\zovur.exe' /v Path /t REG_SZ /d 'C:\Games\DF' \
    /f /reg:32 >/dev/null 2>&1
  # wineserver writes system.reg when it ends.
  WINEPREFIX=$prefix wineserver -k || true
  WINEPREFIX=$prefix wineserver -w
  grep -qi 'zovur.exe' "$prefix/system.reg" || { echo "the entry did not reach $prefix/system.reg" >&2; exit 1; }
  mkdir -p "$prefix/drive_c/Games/DF"
  printf 'save' >"$prefix/drive_c/Games/DF/plyr.sav"
  touch -d "$written" "$prefix/drive_c/Games/DF/plyr.sav"
}

make_game_prefix "$steam_prefix" '2023-05-01 12:00'
make_game_prefix "$lutris_prefix" '2024-02-01 12:00'
mkdir -p "$home/.config/lutris/games"
cat >"$home/.config/lutris/games/df-tfd-1700000000.yml" <<'YAML'
game:
  exe: ~/Games/df-tfd/drive_c/Games/DF/zovur.exe
  prefix: ~/Games/df-tfd
name: DF:TFD
slug: df-tfd
wine:
  version: lutris-GE-Proton8-26-x86_64
YAML

VELQUIN_REAL_PREFIXES_HOME=$home run_gtest "$tests"
