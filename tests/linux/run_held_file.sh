#!/usr/bin/env bash
# The save cases in which a Windows program under Wine holds plyr.sav open, on the Linux
# program's own windows: a throwaway prefix with the game entry made by Wine, and as the
# holder tests/linux/HoldFile.cpp of each Windows build this machine runs.
# Usage: run_held_file.sh NATIVE_TEST_BUILD_DIR WINDOWS_BUILD_DIR...
set -euo pipefail
native=$(realpath "$1")
shift
source "$(dirname "$0")/../wine_test_prefix.sh"
new_wine_test_prefix held 'C:\Games\DF-TFD'
mkdir -p "$WINEPREFIX/drive_c/Games/DF-TFD"
: >"$WINEPREFIX/drive_c/Games/DF-TFD/plyr.sav"

status=0
for build in "$@"; do
  echo "== held by $(basename "$build")'s holder under Wine"
  VELQUIN_HELD_PREFIX="$WINEPREFIX" \
    VELQUIN_HOLD_COMMAND="exec '$VELQUIN_WINE' '$(realpath "$build")/tests/hold_file.exe' 'C:\\Games\\DF-TFD\\plyr.sav' 'C:\\Games\\DF-TFD\\held'" \
    run_gtest "$native/platform/qt/velquin_qt_tests" --test-screen=96 \
    --gtest_filter='QtForms.EachSaveOverAWinePrefixWhoseFileAWindowsProgramMayHold' || status=1
done
exit $status
