#!/usr/bin/env bash
# The save cases in which a Windows program under Wine holds plyr.sav open, on the Linux
# program's own windows: a throwaway prefix with the game entry made by Wine, and as the
# holder tests/linux/HoldFile.cpp of each Windows build this machine runs; then a native
# holder while a stalled FUSE mount (bindfs, its daemon stopped) has an unrelated file open.
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
    run_gtest "$native/tests/velquin_qt_tests" --test-screen=96 \
    --gtest_filter='QtForms.EachSaveOverAWinePrefixWhoseFileAWindowsProgramMayHold' || status=1
done

# A save looks for holders of plyr.sav; it must not wait on a file system that has nothing to
# do with the game, however stuck. A hang fails under the timeout instead of blocking.
stalled="$work/stalled"
mkdir -p "$stalled/source" "$stalled/mount"
: >"$stalled/source/unrelated"
unstall() {
  kill "${stalled_holder:-}" 2>/dev/null || true
  kill -CONT "${bindfs_pid:-}" 2>/dev/null || true
  umount "$stalled/mount" 2>/dev/null || umount -l "$stalled/mount" 2>/dev/null || true
  remove_wine_test_prefix
}
trap unstall EXIT
bindfs -f "$stalled/source" "$stalled/mount" &
bindfs_pid=$!
for _ in $(seq 100); do mountpoint -q "$stalled/mount" && break || sleep 0.1; done
mountpoint -q "$stalled/mount" || { echo "bindfs could not mount $stalled/mount" >&2; exit 1; }
# Opened here while the daemon still answers; the sleep inherits it.
exec 3<"$stalled/mount/unrelated"
sleep 600 &
stalled_holder=$!
exec 3<&-
kill -STOP "$bindfs_pid"
game="$WINEPREFIX/drive_c/Games/DF-TFD"
echo "== held by a native holder while a stalled FUSE mount has a file open"
VELQUIN_HELD_PREFIX="$WINEPREFIX" \
  VELQUIN_HOLD_COMMAND="exec 3<'$game/plyr.sav'; : >'$game/held'; exec cat >/dev/null" \
  run_gtest timeout -k 10 300 "$native/tests/velquin_qt_tests" --test-screen=96 \
  --gtest_filter='QtForms.EachSaveOverAWinePrefixWhoseFileAWindowsProgramMayHold' || status=1
exit $status
