#!/usr/bin/env bash
# Start-up time of velquin.exe to its visible main window with the names in place, under
# Wine, against two yardsticks in the same prefix and on the same X server: a minimal Win32
# window, and the same main window made by hand in one function (bench/handmade_window.cpp).
# The three run in turn for many rounds; prints each median with its interquartile range and
# Velquin's ratio to both, for each Windows build this machine runs.
# Usage: measure_startup.sh NATIVE_BUILD_DIR [ROUNDS [BUILDS]]   (Windows builds under build/;
# BUILDS, e.g. "win32", defaults to every build this machine runs)
set -euo pipefail
cd "$(dirname "$0")/.."
native=$(realpath "$1")
rounds=${2:-41}
source scripts/wine_host.sh
velquin_wine_note
work=$(mktemp -d /tmp/velquin-startup.XXXXXX)
trap 'WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
export WINEPREFIX="$work/prefix" WINEDEBUG=-all LANG=C.UTF-8
scripts/demo_prefix.sh "$WINEPREFIX" "$native/velquin_make_demo_save" >/dev/null 2>&1
wineserver -k 2>/dev/null || true
wineserver -w

for b in ${3:-$VELQUIN_WINE_BUILDS}; do
  build=$(realpath "build/$b")
  xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    wineserver -p
    "$VELQUIN_WINE" "$1/bench/startup_time.exe" "$2" \
      "$1/bench/minimal_window.exe" "Minimal Window" 0 \
      "$1/bench/handmade_window.exe" "Handmade Window" 1000 \
      "$1/velquin.exe" "Velquin for DF:TFD" 1000 | tr -d "\r" >"$3"
    wineserver -k
  ' _ "$build" "$rounds" "$work/times"
  read -r minimal minimal_q1 minimal_q3 _ < <(sed -n 1p "$work/times")
  read -r handmade handmade_q1 handmade_q3 _ < <(sed -n 2p "$work/times")
  read -r velquin velquin_q1 velquin_q3 paired paired_q1 paired_q3 < <(sed -n 3p "$work/times")
  echo "$b, $rounds rounds each, alternating (median, interquartile range):"
  echo "  minimal Win32 window:       $minimal ms ($minimal_q1 to $minimal_q3)"
  echo "  main window made by hand:   $handmade ms ($handmade_q1 to $handmade_q3)"
  echo "  velquin, filled main window: $velquin ms ($velquin_q1 to $velquin_q3)"
  echo "  ratio to the minimal window: $(echo "scale=3; $velquin / $minimal" | bc)"
  echo "  ratio to the hand-made one:  $(echo "scale=3; $velquin / $handmade" | bc)"
  echo "  the same, round by round:    $paired ($paired_q1 to $paired_q3)"
done
