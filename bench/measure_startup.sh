#!/usr/bin/env bash
# Start-up time of velquin.exe to its visible main window with the names in place, under
# Wine, against two yardsticks in the same prefix and on the same X server: a minimal Win32
# window, and the same main window made by hand in one function (bench/handmade_window.cpp).
# The three run in turn for many rounds; prints each median with its interquartile range and
# Velquin's ratios to both, as bench/startup_time.cpp gives them, for each Windows build this
# machine runs.
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

for b in ${3:-$VELQUIN_WINE_BUILDS}; do
  echo "$b, $rounds rounds each, alternating (median and interquartile range):"
  xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    set -o pipefail
    wineserver -p
    status=0
    "$VELQUIN_WINE" "$1/bench/startup_time.exe" "$2" \
      "$1/bench/minimal_window.exe" "Minimal Window" 0 \
      "$1/bench/handmade_window.exe" "Handmade Window" 1000 \
      "$1/velquin.exe" "Velquin for DF:TFD" 1000 | tr -d "\r" | sed "s/^/  /" || status=$?
    wineserver -k
    exit $status
  ' _ "$(realpath "build/$b")" "$rounds"
done
