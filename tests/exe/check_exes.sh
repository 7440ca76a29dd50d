#!/usr/bin/env bash
# Checks each built velquin.exe as a player receives it: its kind (PE32 or PE32+ GUI), that
# it imports nothing but Windows' own DLLs, its size, and the manifest and version strings
# read back from its resources, with the version from CMakeLists.txt.
# Usage: check_exes.sh DIR_OF_32BIT_EXE DIR_OF_64BIT_EXE   (the two builds, or the unpacked zip)
set -uo pipefail
project_version=$("$(dirname "$0")/../../scripts/version.sh") || exit 1
failures=0
fail() { echo "  FAIL: $*"; failures=$((failures + 1)); }

check() {
  local exe=$1 kind=$2 arch=$3 objdump=$4
  echo "== $exe"
  [ -f "$exe" ] || { fail "missing"; return; }
  file -b "$exe" | grep -q "^$kind" || fail "not $kind: $(file -b "$exe")"

  local size
  size=$(stat -c %s "$exe")
  echo "  size: $size bytes"
  # Its C++ runtime, winpthreads and the saves' worker thread linked in, some 310 KB, and its
  # eleven languages' texts, some 90 KB more.
  [ "$size" -lt 460800 ] || fail "larger than 450 KB"

  local dlls
  dlls=$("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr '[:upper:]' '[:lower:]' | sort | tr '\n' ' ')
  echo "  imports: $dlls"
  for dll in $dlls; do
    case $dll in
      advapi32.dll | comctl32.dll | gdi32.dll | kernel32.dll | msvcrt.dll | user32.dll) ;;
      *) fail "imports $dll" ;;
    esac
  done

  # Resource type 24 is the manifest, type 16 the version information (UTF-16 strings).
  local manifest version
  manifest=$(wrestool -x --raw -t 24 "$exe")
  version=$(wrestool -x --raw -t 16 "$exe" | tr -d '\000')
  grep -q "processorArchitecture=\"$arch\"" <<<"$manifest" || fail "manifest does not say $arch"
  grep -q 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' <<<"$(tr -s ' \n' ' ' <<<"$manifest")" ||
    fail "manifest does not ask for common controls 6"
  grep -q '>PerMonitorV2</dpiAwareness>' <<<"$manifest" || fail "manifest lacks PerMonitorV2"
  grep -q '>true</dpiAware>' <<<"$manifest" || fail "manifest lacks the dpiAware fallback"
  if [ "$arch" = x86 ]; then
    # Windows must virtualize the 32-bit exe as it does the game, or the two see different files.
    ! grep -q requestedExecutionLevel <<<"$manifest" || fail "32-bit manifest names an execution level"
  fi
  grep -q 'OriginalFilename' <<<"$version" || fail "no version strings"
  grep -q "<assemblyIdentity type=\"win32\" name=\"Velquin\" version=\"$project_version.0\"" <<<"$manifest" ||
    fail "manifest does not say version $project_version.0"
  for field in "FileVersion$project_version" "ProductVersion$project_version" "LegalCopyrightCopyright (c) 2026 The Velquin developers. MIT License."; do
    grep -qF "$field" <<<"$version" || fail "version strings lack $field"
  done
  # Windows' installer detection asks for elevation when these hold such words.
  ! grep -Eiq 'install|setup|update|patch' <<<"$version$(basename "$exe")" ||
    fail "name or version strings trigger installer detection"
}

check "$1/velquin.exe" "PE32 executable (GUI) Intel 80386" x86 i686-w64-mingw32-objdump
check "$2/velquin.exe" "PE32+ executable (GUI) x86-64" amd64 x86_64-w64-mingw32-objdump
[ "$failures" = 0 ]
