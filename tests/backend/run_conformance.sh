#!/usr/bin/env bash
# Runs the same backend cases against one throwaway Wine prefix: natively through the POSIX
# backend (which reads the prefix's system.reg and drives), and as each cross-built Win32
# test exe under Wine (which asks the real registry API and file API).
# Usage: run_conformance.sh NATIVE_TEST_BINARY WINDOWS_BUILD_DIR...
set -euo pipefail
native_tests=$1
shift

source "$(dirname "$0")/../wine_test_prefix.sh"
new_wine_test_prefix conformance
wineserver -p 2>/dev/null || true  # keep one server for the reg calls below

key='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\zovur.exe'
add() { "$VELQUIN_WINE" reg add "$@" /f >/dev/null; }
# The 32-bit view is where a 32-bit game's installer writes on a 64-bit prefix.
add "$key" /v Path /t REG_SZ /d 'C:\Games\DF Über\' /reg:32
add "$key" /v PathExpand /t REG_EXPAND_SZ /d '%SystemDrive%\DF' /reg:32
add "$key" /v PathDword /t REG_DWORD /d 5 /reg:32
add "$key" /v PathBinary /t REG_BINARY /d 433a5c00 /reg:32
add "$key" /v PathEmpty /t REG_SZ /d '' /reg:32
add "$key" /v PathCyrillic /t REG_SZ /d 'C:\Ж' /reg:32
add 'HKLM\SOFTWARE\VelquinOnly64' /v Path /t REG_SZ /d 'C:\sixty-four' /reg:64
wineserver -k   # writes system.reg out
wineserver -w
make_locked_player_file

status=0
echo "== POSIX backend against the prefix"
VELQUIN_REGISTRY_FIXTURE=1 VELQUIN_READONLY_GAME_FOLDER="$locked" run_gtest "$native_tests" || status=1
for build in "$@"; do
  echo "== Win32 backend under Wine: $build"
  VELQUIN_REGISTRY_FIXTURE=1 VELQUIN_READONLY_GAME_FOLDER="$(windows_path "$locked")" \
    run_gtest "$VELQUIN_WINE" "$build/tests/velquin_backend_tests.exe" || status=1
done
exit $status
