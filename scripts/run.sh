#!/usr/bin/env bash
# Sets up, builds and runs Velquin: the 32-bit Windows exe under Wine, in the player's own
# Wine prefix when the game is installed there, else in a demo prefix with a demo game folder.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset linux-test >/dev/null && cmake --build --preset linux-test --target velquin_make_demo_save velquin_load_report
cmake --preset win32 >/dev/null && cmake --build --preset win32 --target velquin_load_report

export WINEDEBUG=-all LANG=${LANG:-C.UTF-8}
if ./build/linux-test/velquin_load_report | grep -q '^Game folder: ""'; then
  export WINEPREFIX=${VELQUIN_DEMO_PREFIX:-/tmp/velquin-demo-prefix}
  echo "DF:TFD is not installed in this Wine prefix: using the demo prefix $WINEPREFIX"
  scripts/demo_prefix.sh "$WINEPREFIX" ./build/linux-test/velquin_make_demo_save >/dev/null
fi
echo "--- What the start-up load finds (32-bit Windows exe under Wine):"
wine ./build/win32/velquin_load_report.exe
