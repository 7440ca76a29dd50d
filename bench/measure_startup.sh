#!/usr/bin/env bash
# Start-up time of velquin.exe to a filled main window under Wine, next to a minimal Win32
# window in the same prefix and on the same X server; prints both medians and their ratio.
# Usage: measure_startup.sh BUILD_DIR_WIN32 NATIVE_BUILD_DIR
set -euo pipefail
build=$(realpath "$1")
native=$(realpath "$2")
work=$(mktemp -d /tmp/velquin-startup.XXXXXX)
trap 'WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
export WINEPREFIX="$work/prefix" WINEDEBUG=-all LANG=C.UTF-8
"$(dirname "$0")/../scripts/demo_prefix.sh" "$WINEPREFIX" "$native/velquin_make_demo_save" >/dev/null 2>&1
wineserver -k 2>/dev/null || true
wineserver -w
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  wineserver -p
  wine "$1/bench/startup_time.exe" "$1/bench/minimal_window.exe" "Minimal Window" 0 3 >/dev/null  # warm-up
  minimal=$(wine "$1/bench/startup_time.exe" "$1/bench/minimal_window.exe" "Minimal Window" 0 15 | tr -d "\r")
  velquin=$(wine "$1/bench/startup_time.exe" "$1/velquin.exe" "Velquin for DF:TFD" 1000 15 | tr -d "\r")
  echo "minimal Win32 window: ${minimal} ms (median of 15)"
  echo "velquin, filled main window: ${velquin} ms (median of 15)"
  echo "ratio: $(echo "scale=2; $velquin / $minimal" | bc)"
' _ "$build"
