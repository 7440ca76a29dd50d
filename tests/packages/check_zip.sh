#!/usr/bin/env bash
# The Windows zip as a player unpacks it: exactly the files named here under one folder, the
# version from CMakeLists.txt in its name, and both exes passing the checks of the built exes.
# Usage: check_zip.sh PACKAGES_DIR
set -uo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
version=$(sed -n 's/^project(Velquin VERSION \([0-9.]*\).*/\1/p' "$here/CMakeLists.txt")
zip=$1/velquin-$version-windows.zip
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
[ -f "$zip" ] || { echo "FAIL: no $zip"; exit 1; }
echo "$zip: $(stat -c %s "$zip") bytes"

top=velquin-$version-windows
expected=$(printf '%s\n' "$top/LICENSE" "$top/README.txt" "$top/velquin.exe" "$top/wine64/" "$top/wine64/velquin.exe")
listed=$(unzip -Z1 "$zip" | LC_ALL=C sort)
[ "$listed" = "$expected" ] || fail "the zip holds other files: $(diff <(echo "$expected") <(echo "$listed") | grep '^[<>]' | tr '\n' ' ')"

work=$(mktemp -d /tmp/velquin-zip.XXXXXX)
trap 'rm -rf "$work"' EXIT
unzip -q "$zip" -d "$work"
"$here/tests/exe/check_exes.sh" "$work/$top" "$work/$top/wine64" || fail "the exes in the zip"
# What a player reads first: which exe, and where the game's file is looked for.
readme=$(tr -d '\r' <"$work/$top/README.txt")
for line in "Version $version." '  velquin.exe          32-bit. Take this one on Windows (any Windows, 32-bit' \
  '  HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\zovur.exe' \
  '%LOCALAPPDATA%\VirtualStore\Program Files (x86)\..., and Windows shows that'; do
  grep -qxF -- "$line" <<<"$readme" || fail "README.txt lacks: $line"
done
head -1 "$work/$top/LICENSE" | grep -q '^MIT License' || fail "LICENSE is not the MIT licence"
[ "$failures" = 0 ]
