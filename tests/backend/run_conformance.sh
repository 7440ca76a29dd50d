#!/usr/bin/env bash
# Runs the same backend cases against one throwaway Wine prefix: natively through the POSIX
# backend (which reads the prefix's system.reg and drives), and as each cross-built Win32
# test exe under Wine (which asks the real registry API and file API). Then, for each
# single-byte ANSI code page, each exe writes the table of Wine's conversions (what its Win32 API
# gives) under a locale of that code page, which Wine also stores as the prefix's ANSI code page;
# the native suite reads that code page from the prefix and must convert exactly as the table says.
# Usage: run_conformance.sh NATIVE_TEST_BINARY WINDOWS_BUILD_DIR...
set -euo pipefail
native_tests=$1
shift

source "$(dirname "$0")/../wine_test_prefix.sh"
# Beside the game's Path, values of every other kind in its key, and one in the 64-bit view only.
other_values() {
  wine_reg_add "$velquin_game_key" /v PathExpand /t REG_EXPAND_SZ /d '%SystemDrive%\DF' /reg:32
  wine_reg_add "$velquin_game_key" /v PathDword /t REG_DWORD /d 5 /reg:32
  wine_reg_add "$velquin_game_key" /v PathBinary /t REG_BINARY /d 433a5c00 /reg:32
  wine_reg_add "$velquin_game_key" /v PathEmpty /t REG_SZ /d '' /reg:32
  wine_reg_add "$velquin_game_key" /v PathCyrillic /t REG_SZ /d 'C:\Ж' /reg:32
  wine_reg_add 'HKLM\SOFTWARE\VelquinOnly64' /v Path /t REG_SZ /d 'C:\sixty-four' /reg:64
}
new_wine_test_prefix conformance 'C:\Games\DF Über\' other_values
# Values no reg command writes, as Wine keeps them: no data at all, and text without its
# terminator. The next server reads them in.
sed -i '/^\[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\App Paths\\\\zovur.exe\]/a "PathNoData"=hex(1):\n"PathUnterminated"=hex(1):43,00,3a,00,5c,00,44,00,46,00,78,00' \
  "$WINEPREFIX/system.reg"
grep -q '^"PathUnterminated"=' "$WINEPREFIX/system.reg" || { echo "the game key is not in system.reg" >&2; exit 1; }
make_locked_player_file

# A small file system filled to its last block, under the prefix's Z: drive, holding game
# folders with an 11-byte plyr.sav, a 4,000-byte one, and none.
full="$work/full"
mkdir -p "$full"
mount -t tmpfs -o size=64k velquin-full "$full" || {
  echo "cannot mount a tmpfs at $full: the full-disk cases cannot be prepared here" >&2
  exit 1
}
trap '{ wineserver -k; wineserver -w; } 2>/dev/null || true; umount "$full" || umount -l "$full"; remove_wine_test_prefix' EXIT
mkdir "$full/short" "$full/part" "$full/none"
printf 'eleven byte' >"$full/short/plyr.sav"
head -c 4000 /dev/zero | tr '\0' '\1' >"$full/part/plyr.sav"
dd if=/dev/zero of="$full/filler" bs=4k 2>/dev/null || true
[ "$(df --output=avail -B1 "$full" | tail -1)" -eq 0 ] || { echo "the tmpfs at $full is not full" >&2; exit 1; }

status=0
all_but_tables='--gtest_filter=-CodePageTableOfThisBackend.*'
echo "== POSIX backend against the prefix"
VELQUIN_REGISTRY_FIXTURE=1 VELQUIN_READONLY_GAME_FOLDER="$locked" VELQUIN_FULL_DISK_FOLDER="$full" \
  run_gtest "$native_tests" "$all_but_tables" || status=1
for build in "$@"; do
  echo "== Win32 backend under Wine: $build"
  VELQUIN_REGISTRY_FIXTURE=1 VELQUIN_READONLY_GAME_FOLDER="$(windows_path "$locked")" \
    VELQUIN_FULL_DISK_FOLDER="$(windows_path "$full")" \
    run_gtest "$VELQUIN_WINE" "$build/tests/velquin_backend_tests.exe" "$all_but_tables" || status=1
done

# Code page and a locale Wine gives it for (Wine needs no glibc locale installed for LC_ALL).
code_pages='874:th_TH 1250:pl_PL 1251:ru_RU 1252:en_US 1253:el_GR 1254:tr_TR 1255:he_IL 1256:ar_SA
  1257:lt_LT 1258:vi_VN'
tables="$work/tables"
mkdir -p "$tables"
for entry in $code_pages; do
  number=${entry%%:*}
  locale=${entry#*:}.UTF-8
  for build in "$@"; do
    echo "== Code page $number ($locale): Wine's table from $build"
    LC_ALL=$locale VELQUIN_CODE_PAGE_TABLE_OUT="$(windows_path "$tables/$number-${build##*/}.txt")" \
      run_gtest "$VELQUIN_WINE" "$build/tests/velquin_backend_tests.exe" \
      '--gtest_filter=CodePageTableOfThisBackend.IsWrittenForTheOtherToCompare' || status=1
  done
  # Writes system.reg out, with the code page the last exe started under (a server that has
  # gone by itself has written it already).
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  grep -q "^\"ACP\"=\"$number\"" "$WINEPREFIX/system.reg" || {
    echo "Wine did not store code page $number as the prefix's ANSI code page" >&2
    status=1
  }
  for build in "$@"; do
    echo "== Code page $number: the POSIX backend against $build's table"
    VELQUIN_WINDOWS_CODE_PAGE_TABLE="$tables/$number-${build##*/}.txt" \
      run_gtest "$native_tests" '--gtest_filter=CodePageTableOfThisBackend.IsTheTableWindowsWrote' || status=1
  done
done
exit $status
