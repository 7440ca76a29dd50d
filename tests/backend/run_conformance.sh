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
sealed="$work/sealed" fuse="$work/fuse"
cleanup() {
  { wineserver -k; wineserver -w; } 2>/dev/null || true
  umount "$full" || umount -l "$full"
  chattr -i "$sealed" 2>/dev/null || true
  fusermount -u "$fuse" 2>/dev/null || true
  remove_wine_test_prefix
}
trap cleanup EXIT
mkdir "$full/short" "$full/part" "$full/none"
printf 'eleven byte' >"$full/short/plyr.sav"
head -c 4000 /dev/zero | tr '\0' '\1' >"$full/part/plyr.sav"
dd if=/dev/zero of="$full/filler" bs=4k 2>/dev/null || true
[ "$(df --output=avail -B1 "$full" | tail -1)" -eq 0 ] || { echo "the tmpfs at $full is not full" >&2; exit 1; }

# Folders whose plyr.sav (11 bytes) a save can only patch in place: one that takes no new file,
# and a FUSE mount that refuses fallocate and unnamed files. Made anew before each backend.
seal_folders() {
  chattr -i "$sealed" 2>/dev/null || true
  fusermount -u "$fuse" 2>/dev/null || true
  rm -rf "$sealed" "$fuse" "$fuse.src"
  mkdir -p "$sealed" "$fuse" "$fuse.src"
  printf 'eleven byte' >"$sealed/plyr.sav"
  printf 'eleven byte' >"$fuse.src/plyr.sav"
  chattr +i "$sealed" || { echo "chattr +i failed on $sealed" >&2; return 1; }
  bindfs "$fuse.src" "$fuse" || { echo "bindfs cannot mount $fuse" >&2; return 1; }
}

# kill_each_call TEST_BINARY FOLDER: one save of five names over a plyr.sav of 'x's, killed by
# strace before the N-th call of each file system call it makes, for every N. Each time the
# file must be the old or the new one, the folder hold nothing but it and at most a passing
# copy, and the next save must leave the new file alone in the folder. The save must also
# sync the copy's data before the rename and the folder after it.
kill_each_call() {
  local tests=$1 dir=$2 calls=openat,pwrite64,fallocate,copy_file_range,ftruncate,fchown,fchmod
  calls=$calls,fdatasync,fsync,linkat,renameat,renameat2,rename,unlinkat,close
  # LeakSanitizer cannot run under ptrace.
  export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0
  local old="$dir.old" new="$dir.new" trace="$dir.trace" failed=0 runs=0 olds=0 news=0
  head -c $((12 + 5 * 2108)) /dev/zero | tr '\0' x >"$old"
  cp "$old" "$new"
  for k in 0 1 2 3 4; do printf "N$k\0\0" | dd of="$new" bs=1 seek=$((12 + 2108 * k)) conv=notrunc 2>/dev/null; done
  save() { VELQUIN_SAVE_ONCE_FOLDER="$dir" "$tests" --gtest_filter=FileAccessConformance.SaveOnce "$@" >/dev/null 2>&1; }
  rm -rf "$dir" && mkdir -p "$dir" && cp "$old" "$dir/plyr.sav"
  VELQUIN_SAVE_ONCE_FOLDER="$dir" strace -f -qq -o "$trace" -e trace="$calls" "$tests" \
    --gtest_filter=FileAccessConformance.SaveOnce >/dev/null 2>&1 || { echo "the traced save failed" >&2; return 1; }
  cmp -s "$dir/plyr.sav" "$new" || { echo "the traced save did not write the new file" >&2; return 1; }
  local order
  order=$(grep -oE '^[0-9]+ +(fdatasync|renameat2?|rename|fsync)\(' "$trace" | awk '{print $2}' | tr -d '(' | tr '\n' ' ')
  case "$order" in
    *fdatasync*rename*fsync*) ;;
    *) echo "the save does not sync the copy before the rename and the folder after it: $order" >&2; return 1 ;;
  esac
  # The save's calls are those from its first look at the folder on; strace counts each call
  # from the program's start.
  local call first count n start
  start=$(grep -nF "$dir" "$trace" | head -1 | cut -d: -f1)
  for call in ${calls//,/ }; do
    first=$(head -n $((start - 1)) "$trace" | grep -cE "^[0-9]+ +$call\(" || true)
    count=$(grep -cE "^[0-9]+ +$call\(" "$trace" || true)
    for ((n = first + 1; n <= count; n++)); do
      rm -rf "$dir" && mkdir -p "$dir" && cp "$old" "$dir/plyr.sav"
      (VELQUIN_SAVE_ONCE_FOLDER="$dir" strace -f -qq -o /dev/null -e inject="$call":signal=SIGKILL:when=$n \
        "$tests" --gtest_filter=FileAccessConformance.SaveOnce; true) >/dev/null 2>&1
      runs=$((runs + 1))
      if cmp -s "$dir/plyr.sav" "$old"; then olds=$((olds + 1));
      elif cmp -s "$dir/plyr.sav" "$new"; then news=$((news + 1));
      else echo "killed before $call #$n: plyr.sav is neither the old file nor the new one" >&2; failed=1; fi
      if ls -A "$dir" | grep -vqxE 'plyr\.sav|\.velquin-save-[0-9a-f]{16}'; then
        echo "killed before $call #$n: the folder holds $(ls -A "$dir" | tr '\n' ' ')" >&2; failed=1
      fi
      save || { echo "the save after a kill before $call #$n failed" >&2; failed=1; }
      if ! cmp -s "$dir/plyr.sav" "$new" || [ "$(ls -A "$dir")" != plyr.sav ]; then
        echo "the save after a kill before $call #$n left $(ls -A "$dir" | tr '\n' ' ')" >&2; failed=1
      fi
    done
  done
  echo "$runs killed saves: $olds left the old file, $news the new one; $((runs - olds - news)) neither"
  [ "$runs" -gt 0 ] && [ "$olds" -gt 0 ] && [ "$news" -gt 0 ] || failed=1
  return $failed
}

status=0
all_but_tables='--gtest_filter=-CodePageTableOfThisBackend.*:FileAccessConformance.SaveOnce'
echo "== POSIX backend against the prefix"
seal_folders
VELQUIN_REGISTRY_FIXTURE=1 VELQUIN_READONLY_GAME_FOLDER="$locked" VELQUIN_FULL_DISK_FOLDER="$full" \
  VELQUIN_SEALED_GAME_FOLDER="$sealed" VELQUIN_NO_FALLOCATE_FOLDER="$fuse" \
  run_gtest "$native_tests" "$all_but_tables" || status=1
for build in "$@"; do
  echo "== Win32 backend under Wine: $build"
  seal_folders
  VELQUIN_REGISTRY_FIXTURE=1 VELQUIN_READONLY_GAME_FOLDER="$(windows_path "$locked")" \
    VELQUIN_FULL_DISK_FOLDER="$(windows_path "$full")" VELQUIN_SEALED_GAME_FOLDER="$(windows_path "$sealed")" \
    VELQUIN_NO_FALLOCATE_FOLDER="$(windows_path "$fuse")" \
    run_gtest "$VELQUIN_WINE" "$build/tests/velquin_backend_tests.exe" "$all_but_tables" || status=1
done

echo "== POSIX backend: a save killed before each of its file system calls in turn"
kill_each_call "$native_tests" "$work/killed" || status=1

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
